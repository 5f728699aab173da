// A stand-in for linux-gpib's libgpib.so.0, loaded by the tests through the same dlopen path as
// the real one. Every device descriptor is handed to callbacks of the test (the simulated bench
// instruments). Like the library, ibsta is returned by every call, and the error number and
// the count of the last call are kept in the globals iberr and ibcntl. A write to an address
// where nobody listens fails with ENOL; a read from an instrument with nothing to say times out.

#include <cstdint>
#include <cstring>
#include <unistd.h>

struct FakeGpibForward {
    void *context;
    // A bench session for the primary address, 0 when no instrument listens there.
    std::int32_t (*open)(void *context, int pad);
    void (*write)(void *context, std::int32_t session, const char *data, std::uint32_t count);
    std::uint32_t (*read)(void *context, std::int32_t session, char *buffer, std::uint32_t count);
    void (*close)(void *context, std::int32_t session);
};

namespace {

constexpr int kErr = 0x8000;
constexpr int kTimo = 0x4000;
constexpr int kEnd = 0x2000;
constexpr int kCmpl = 0x100;
constexpr int kEnol = 2;
constexpr int kEarg = 4;
constexpr int kEabo = 6;
constexpr int kMaxDescriptors = 32;

struct State {
    FakeGpibForward forward{};
    std::int32_t sessions[kMaxDescriptors] = {};
    bool used[kMaxDescriptors] = {};
    int openDescriptors = 0;
    int lastTimeout = -1;
    int lastSendEoi = -1;
};

State &state() {
    static State s;
    return s;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) volatile int ibsta = 0;
__attribute__((visibility("default"))) volatile int iberr = 0;
__attribute__((visibility("default"))) volatile int ibcnt = 0;
__attribute__((visibility("default"))) volatile long ibcntl = 0;

static int finish(int status, int error, long count) {
    ibsta = status;
    iberr = error;
    ibcnt = int(count);
    ibcntl = count;
    return status;
}

static bool valid(int ud) {
    return ud >= 0 && ud < kMaxDescriptors && state().used[ud];
}

__attribute__((visibility("default"))) int ibdev(int board, int pad, int, int timo, int sendEoi,
                                                 int) {
    if (board != 0 || pad < 0 || pad > 30 || !state().forward.open) {
        finish(kErr, kEarg, 0);
        return -1;
    }
    for (int ud = 0; ud < kMaxDescriptors; ++ud) {
        if (state().used[ud])
            continue;
        state().used[ud] = true;
        state().sessions[ud] = state().forward.open(state().forward.context, pad);
        state().lastTimeout = timo;
        state().lastSendEoi = sendEoi;
        ++state().openDescriptors;
        finish(kCmpl, 0, 0);
        return ud;
    }
    finish(kErr, kEarg, 0);
    return -1;
}

__attribute__((visibility("default"))) int ibwrt(int ud, const void *data, long count) {
    if (!valid(ud))
        return finish(kErr, kEarg, 0);
    if (state().sessions[ud] == 0)
        return finish(kErr, kEnol, 0);
    state().forward.write(state().forward.context, state().sessions[ud],
                          static_cast<const char *>(data), std::uint32_t(count));
    return finish(kCmpl, 0, count);
}

__attribute__((visibility("default"))) int ibrd(int ud, void *buffer, long count) {
    if (!valid(ud))
        return finish(kErr, kEarg, 0);
    if (state().sessions[ud] == 0)
        return finish(kErr, kEnol, 0);
    const std::uint32_t n = state().forward.read(state().forward.context, state().sessions[ud],
                                                 static_cast<char *>(buffer), std::uint32_t(count));
    if (n == 0) {
        // The descriptor's time-out passes before the library gives up (T30ms).
        usleep(30000);
        return finish(kErr | kTimo, kEabo, 0);
    }
    return finish(kCmpl | kEnd, 0, long(n));
}

__attribute__((visibility("default"))) int ibonl(int ud, int online) {
    if (!valid(ud))
        return finish(kErr, kEarg, 0);
    if (online == 0) {
        if (state().sessions[ud] != 0)
            state().forward.close(state().forward.context, state().sessions[ud]);
        state().used[ud] = false;
        state().sessions[ud] = 0;
        --state().openDescriptors;
    }
    return finish(kCmpl, 0, 0);
}

// Test controls.
__attribute__((visibility("default"))) void fakegpib_forwardTo(const FakeGpibForward *forward) {
    state() = State();
    if (forward)
        state().forward = *forward;
}

__attribute__((visibility("default"))) int fakegpib_openDescriptors() {
    return state().openDescriptors;
}

// (time-out code << 8) | send_eoi of the last ibdev.
__attribute__((visibility("default"))) int fakegpib_lastDeviceArgs() {
    return (state().lastTimeout << 8) | state().lastSendEoi;
}
}
