// One libFuzzer program per reader; FUZZ_CHECK names the check it runs.
#include "FuzzTargets.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InitQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString problem =
        fuzz::FUZZ_CHECK(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n", problem.toUtf8().constData());
        std::abort();
    }
    return 0;
}
