#include "teach/InstrumentBackendSimulated.h"

#include "sim/InstrumentBench.h"
#include "teach/VisaLibrary.h"

namespace {

// One connection to an instrument of the bench; fails to open where no instrument listens, as
// the bus would.
class BenchSession : public InstrumentSession {
public:
    explicit BenchSession(std::shared_ptr<sim::InstrumentBench> bench) : bench_(std::move(bench)) {}
    ~BenchSession() override { close(); }

    void open(const QString &resource) override {
        close();
        session_ = bench_->open(resource.toLatin1());
        if (session_ == 0)
            throw EVisaError(QStringLiteral("Simulierte Instrumente: an ") + resource +
                             QStringLiteral(" ist kein Gerät."));
    }
    void write(const QString &text) override { bench_->write(session_, text.toLatin1()); }
    QString read(int maxCount) override {
        return QString::fromLatin1(bench_->read(session_, maxCount));
    }
    void close() override {
        if (session_ != 0)
            bench_->close(session_);
        session_ = 0;
    }

private:
    std::shared_ptr<sim::InstrumentBench> bench_;
    int session_ = 0;
};

} // namespace

InstrumentBackendSimulated::InstrumentBackendSimulated(std::shared_ptr<sim::InstrumentBench> bench)
    : bench_(std::move(bench)) {}

std::unique_ptr<InstrumentSession> InstrumentBackendSimulated::newSession(InstrumentRole) {
    return std::make_unique<BenchSession>(bench_);
}
