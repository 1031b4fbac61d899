// A 32-bit Windows program for selftest.sh: proves that arguments, the
// working directory, files in the share, stdout, stderr, SSE2 double
// arithmetic and the exit code all make the round trip through the guest.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

static unsigned long long bits(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return static_cast<unsigned long long>(u);
}

int main(int argc, char** argv) {
    volatile double one = 1.0, two = 2.0, three = 3.0, tenth = 0.1, fifth = 0.2;
    std::printf("pointer bits %u\n", static_cast<unsigned>(8 * sizeof(void*)));
    std::printf("1/3 %016llx\n", bits(one / three));
    std::printf("sqrt2 %016llx\n", bits(std::sqrt(two)));
    std::printf("0.1+0.2 %016llx\n", bits(tenth + fifth));
    std::printf("args");
    for (int i = 1; i < argc; ++i) std::printf(" [%s]", argv[i]);
    std::printf("\n");

    char line[128] = {};
    std::FILE* in = std::fopen("in.txt", "rb");
    if (!in || !std::fgets(line, sizeof line, in)) return 3;
    std::fclose(in);
    std::FILE* out = std::fopen("out.txt", "wb");
    if (!out) return 4;
    std::fprintf(out, "read: %s", line);
    std::fclose(out);

    std::fprintf(stderr, "to stderr\n");
    return 7;
}
