// bench.cpp: timing of the drawing paths against memcpy (filled in with the main screen).
#include <cstdio>

int main() {
    std::puts("ranqua_bench: nothing measured yet");
    return 0;
}
