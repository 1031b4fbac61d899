// A 32-bit Windows program for selftest.sh: proves that arguments, the
// working directory, files in the share, stdout, stderr, SSE2 double
// arithmetic and the exit code all make the round trip through the guest.
// With --window it creates a window and prints the screen size instead.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

static unsigned long long bits(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return static_cast<unsigned long long>(u);
}

static int window() {
    HWND h = CreateWindowExA(0, "STATIC", "selftest", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::printf("window %d screen %dx%d\n", h != nullptr, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
    if (!h) return 1;
    DestroyWindow(h);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--window") == 0) return window();
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
