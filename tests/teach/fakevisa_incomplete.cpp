// A library that has the VISA name but lacks most functions: the loader must refuse it.

#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::int32_t viOpenDefaultRM(std::uint32_t *s) {
    *s = 1;
    return 0;
}
