// A stand-in for the VISA C library, loaded by the tests through the same dlopen path as the real
// one. It records what is written and answers reads from a script, or, in forwarding mode, hands
// every session to callbacks of the test (the simulated bench instruments). Being a C library
// loaded into the test process, its state lives in the module; the test resets it through
// fakevisa_reset.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

// Forwarding mode: the test's instruments behind the library calls. `open` returns a session
// number above 0, or 0 when no instrument answers at the resource.
struct FakeVisaForward {
    void *context;
    std::int32_t (*open)(void *context, const char *resource);
    void (*write)(void *context, std::int32_t session, const char *data, std::uint32_t count);
    std::uint32_t (*read)(void *context, std::int32_t session, char *buffer, std::uint32_t count);
    void (*close)(void *context, std::int32_t session);
};

namespace {

constexpr std::uint32_t ResourceManagerSession = 1;
constexpr std::uint32_t InstrumentSessionId = 7;
constexpr std::uint32_t ForwardedSessionBase = 100;
constexpr std::int32_t ResourceNotFound = -1073807343;
constexpr std::int32_t TimeoutError = -1073807339;

struct FakeState {
    std::vector<std::string> writes;
    std::deque<std::string> replies;
    std::string lastResource;
    std::int32_t rmStatus = 0;
    std::int32_t openStatus = 0;
    std::uint32_t lastAccessMode = 99;
    std::uint32_t lastTimeout = 99;
    int openSessions = 0;
    int closeCalls = 0;
    std::uint32_t reportedReadExcess = 0;
    FakeVisaForward forward{};
    bool forwarding = false;
};

FakeState &state() {
    static FakeState s;
    return s;
}

bool isForwarded(std::uint32_t session) {
    return state().forwarding && session > ForwardedSessionBase;
}

std::int32_t forwardedId(std::uint32_t session) {
    return std::int32_t(session - ForwardedSessionBase);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t viOpenDefaultRM(std::uint32_t *session) {
    if (state().rmStatus < 0)
        return state().rmStatus;
    *session = ResourceManagerSession;
    ++state().openSessions;
    return 0;
}

__attribute__((visibility("default"))) std::int32_t
viOpen(std::uint32_t manager, const char *resource, std::uint32_t accessMode, std::uint32_t timeout,
       std::uint32_t *session) {
    state().lastResource = resource;
    state().lastAccessMode = accessMode;
    state().lastTimeout = timeout;
    if (manager != ResourceManagerSession || state().openStatus < 0)
        return state().openStatus < 0 ? state().openStatus : -1;
    if (state().forwarding) {
        const std::int32_t id = state().forward.open(state().forward.context, resource);
        if (id <= 0)
            return ResourceNotFound;
        *session = ForwardedSessionBase + std::uint32_t(id);
        ++state().openSessions;
        return 0;
    }
    *session = InstrumentSessionId;
    ++state().openSessions;
    return 0;
}

__attribute__((visibility("default"))) std::int32_t viWrite(std::uint32_t session,
                                                            const unsigned char *buffer,
                                                            std::uint32_t count,
                                                            std::uint32_t *written) {
    if (session != InstrumentSessionId && !isForwarded(session))
        return -1;
    state().writes.emplace_back(reinterpret_cast<const char *>(buffer), count);
    if (isForwarded(session))
        state().forward.write(state().forward.context, forwardedId(session),
                              reinterpret_cast<const char *>(buffer), count);
    *written = count;
    return 0;
}

// Like the real library, a reply longer than the count is handed out in pieces.
__attribute__((visibility("default"))) std::int32_t
viRead(std::uint32_t session, unsigned char *buffer, std::uint32_t count, std::uint32_t *read) {
    if (isForwarded(session)) {
        *read = state().forward.read(state().forward.context, forwardedId(session),
                                     reinterpret_cast<char *>(buffer), count);
        return *read > 0 ? 0 : TimeoutError;
    }
    if (session != InstrumentSessionId || state().replies.empty()) {
        *read = 0;
        return TimeoutError;
    }
    std::string &reply = state().replies.front();
    const std::uint32_t n = std::min<std::uint32_t>(count, std::uint32_t(reply.size()));
    std::memcpy(buffer, reply.data(), n);
    *read = n + state().reportedReadExcess;
    reply.erase(0, n);
    if (reply.empty())
        state().replies.pop_front();
    return 0;
}

__attribute__((visibility("default"))) std::int32_t viClose(std::uint32_t session) {
    ++state().closeCalls;
    if (isForwarded(session))
        state().forward.close(state().forward.context, forwardedId(session));
    else if (session != ResourceManagerSession && session != InstrumentSessionId)
        return -1;
    --state().openSessions;
    return 0;
}

// Test controls.
__attribute__((visibility("default"))) void fakevisa_reset() {
    state() = FakeState();
}

// Forwards every instrument session to the test's callbacks; null goes back to the script.
__attribute__((visibility("default"))) void fakevisa_forwardTo(const FakeVisaForward *forward) {
    state().forwarding = forward != nullptr;
    state().forward = forward ? *forward : FakeVisaForward{};
}

__attribute__((visibility("default"))) void fakevisa_pushReply(const char *reply) {
    state().replies.emplace_back(reply);
}

__attribute__((visibility("default"))) void fakevisa_setStatus(std::int32_t rm, std::int32_t open) {
    state().rmStatus = rm;
    state().openStatus = open;
}

// Makes viRead report more bytes than it may, as a broken library could.
__attribute__((visibility("default"))) void fakevisa_setReadExcess(std::uint32_t excess) {
    state().reportedReadExcess = excess;
}

__attribute__((visibility("default"))) int fakevisa_writeCount() {
    return int(state().writes.size());
}

__attribute__((visibility("default"))) const char *fakevisa_write(int index) {
    return state().writes.at(std::size_t(index)).c_str();
}

__attribute__((visibility("default"))) const char *fakevisa_lastResource() {
    return state().lastResource.c_str();
}

__attribute__((visibility("default"))) std::uint32_t fakevisa_lastOpenArgs() {
    return (state().lastAccessMode << 16) | state().lastTimeout;
}

__attribute__((visibility("default"))) int fakevisa_openSessions() {
    return state().openSessions;
}

__attribute__((visibility("default"))) int fakevisa_closeCalls() {
    return state().closeCalls;
}
}
