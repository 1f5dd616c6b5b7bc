/* The plain counterpart of export-all in the process benchmarks: writes a
 * copy of each named file into a folder, reading and writing whole files,
 * as a small C program would.
 *   plain-file-writer OUT_FOLDER FILE... */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int copy_file(const char* from, const char* folder) {
    const char* slash = strrchr(from, '/');
    char to[4096];
    snprintf(to, sizeof to, "%s/%s", folder, slash ? slash + 1 : from);
    int in = open(from, O_RDONLY);
    int out = open(to, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) return 1;
    static char buffer[1 << 20];
    ssize_t n;
    while ((n = read(in, buffer, sizeof buffer)) > 0)
        if (write(out, buffer, (size_t)n) != n) return 1;
    close(in);
    return close(out) != 0 || n < 0;
}

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 2; i < argc; ++i) failed |= copy_file(argv[i], argv[1]);
    return failed;
}
