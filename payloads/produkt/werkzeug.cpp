// Stand-in of a console tool the payloads carry (openssl.exe): prints its name and
// version and exits 0.
#include <cstdio>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::printf("%s (stand-in of the Quillmark setup build)\n", QM_STANDIN_NAME);
    return 0;
}
