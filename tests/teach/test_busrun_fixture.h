#pragma once

// The teach-run fixture on one of the open instrument buses: the simulated bench served in this
// process behind the bus's transport (linux-gpib through the stand-in of libgpib.so.0, a
// Prologix adapter on a pseudo-terminal or TCP, LAN sockets), the tool settings pointing at it.
#include "base/ToolSettings.h"
#include "sim/BenchServer.h"
#include "sim/PrologixAdapterSim.h"
#include "tests/teach/test_teachrun_fixture.h"

#include <cstring>
#include <dlfcn.h>

// Same layout as in the stand-in library.
struct FakeGpibForward {
    void *context;
    std::int32_t (*open)(void *context, int pad);
    void (*write)(void *context, std::int32_t session, const char *data, std::uint32_t count);
    std::uint32_t (*read)(void *context, std::int32_t session, char *buffer, std::uint32_t count);
    void (*close)(void *context, std::int32_t session);
};

namespace busrun {

inline sim::InstrumentBench &benchOf(void *context) {
    return *static_cast<sim::InstrumentBench *>(context);
}

// The stand-in library wired to the bench of a fixture.
class FakeGpib {
public:
    explicit FakeGpib(sim::InstrumentBench &bench)
        : handle_(dlopen(FAKEGPIB_PATH, RTLD_NOW | RTLD_LOCAL)) {
        forward_ = {&bench,
                    [](void *c, int pad) {
                        return std::int32_t(benchOf(c).open(
                            sim::InstrumentBench::resourceName(QByteArray::number(pad))));
                    },
                    [](void *c, std::int32_t s, const char *data, std::uint32_t n) {
                        benchOf(c).write(s, QByteArray(data, int(n)));
                    },
                    [](void *c, std::int32_t s, char *buffer, std::uint32_t n) {
                        const QByteArray reply = benchOf(c).read(s, int(n));
                        std::memcpy(buffer, reply.constData(), std::size_t(reply.size()));
                        return std::uint32_t(reply.size());
                    },
                    [](void *c, std::int32_t s) { benchOf(c).close(s); }};
        if (handle_)
            fn<void (*)(const FakeGpibForward *)>("fakegpib_forwardTo")(&forward_);
    }
    ~FakeGpib() {
        if (handle_) {
            fn<void (*)(const FakeGpibForward *)>("fakegpib_forwardTo")(nullptr);
            dlclose(handle_);
        }
    }
    template <typename Fn> Fn fn(const char *name) const {
        return reinterpret_cast<Fn>(dlsym(handle_, name));
    }
    int openDescriptors() const { return fn<int (*)()>("fakegpib_openDescriptors")(); }

private:
    void *handle_;
    FakeGpibForward forward_{};
};

// A fixture on one bus: the bench behind the bus's transport, the settings pointing at it.
struct BusRun {
    explicit BusRun(const QString &bus, int timeoutMs = 5000, double waitScale = 0.002)
        : fx(config(bus, waitScale)), server(fx.bench), gpib(*fx.bench) {
        fx.bench->pressureController().setSettlingMs(0);
        const ToolSettings settings(fx.dir());
        const QString ieee = QStringLiteral("IEEE");
        settings.writeString(ieee, QStringLiteral("BusTimeoutMs"), QString::number(timeoutMs));
        if (bus == QLatin1String("linux-gpib")) {
            settings.writeString(ieee, QStringLiteral("GpibLibrary"), FAKEGPIB_PATH);
        } else if (bus == QLatin1String("prologix-pty")) {
            settings.writeString(ieee, QStringLiteral("Prologix"), server.startPrologixPty());
        } else if (bus == QLatin1String("prologix-tcp")) {
            endpoint = QStringLiteral("127.0.0.1:%1").arg(server.listenPrologixTcp());
            settings.writeString(ieee, QStringLiteral("Prologix"), endpoint);
        } else if (bus == QLatin1String("lan")) {
            endpoint = QStringLiteral("127.0.0.1:%1").arg(server.listenLanPc());
            settings.writeString(ieee, QStringLiteral("LanPc"), endpoint);
            settings.writeString(ieee, QStringLiteral("LanDaq"),
                                 QStringLiteral("127.0.0.1:%1").arg(server.listenLanDaq()));
        }
    }

    static TeachRunFixture::Config config(const QString &bus, double waitScale) {
        TeachRunFixture::Config config;
        config.waitScale = waitScale;
        config.backend =
            bus.startsWith(QLatin1String("prologix")) ? QStringLiteral("prologix") : bus;
        return config;
    }

    QStringList trace() const { return fx.benchBetween(-1, -1); }

    TeachRunFixture fx;
    sim::BenchServer server;
    FakeGpib gpib;
    QString endpoint;
};

} // namespace busrun
