#include "fuzz/FuzzTargets.h"

#include <cstddef>
#include <cstdint>

// One libFuzzer program per target; ZEL_FUZZ_TARGET names the function it runs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    zelfuzz::ZEL_FUZZ_TARGET(bytes);
    return 0;
}
