/*
 * An application in a process of its own, used by the tests: opens RESOURCE
 * through the library's C interface, says "ready", then follows commands
 * from its standard input, one a line, answering each with one line:
 *     w HEX        writes the bytes          -> "w <status as hex>"
 *     f N SEED     writes N bytes (i*7+SEED) -> "f <status as hex>"
 *     x N          N exchanges of a 16-byte request and a 22-byte answer
 *                                            -> "x <status as hex of the first failure, or 0>"
 * It ends at the end of its input.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <kvvisa/visa.h>

enum { kRequestSize = 16, kAnswerSize = 22, kLineSize = 200000 };

static ViStatus WriteHex(ViSession vi, const char* hex) {
    static ViByte bytes[kLineSize / 2];
    ViUInt32 n = 0;
    while (hex[0] != '\0' && hex[1] != '\0' && hex[0] != '\n') {
        unsigned value = 0;
        sscanf(hex, "%2x", &value);
        bytes[n++] = (ViByte)value;
        hex += 2;
    }
    ViUInt32 written = 0;
    return viWrite(vi, bytes, n, &written);
}

static ViStatus WriteFill(ViSession vi, unsigned long count, unsigned seed) {
    ViByte* bytes = malloc(count ? count : 1);
    for (unsigned long i = 0; i < count; ++i) bytes[i] = (ViByte)((i * 7 + seed) & 0xFF);
    ViUInt32 written = 0;
    const ViStatus status = viWrite(vi, bytes, (ViUInt32)count, &written);
    free(bytes);
    return status;
}

static ViStatus Exchanges(ViSession vi, unsigned long count) {
    for (unsigned long k = 0; k < count; ++k) {
        ViByte request[kRequestSize] = {(ViByte)k};
        ViByte answer[kAnswerSize];
        ViUInt32 n = 0;
        ViStatus status = viWrite(vi, request, kRequestSize, &n);
        if (status == VI_SUCCESS) status = viRead(vi, answer, kAnswerSize, &n);
        if (status != VI_SUCCESS) return status;
    }
    return VI_SUCCESS;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: app_probe RESOURCE\n");
        return 64;
    }
    ViSession rm = 0, vi = 0;
    viOpenDefaultRM(&rm);
    const ViStatus opened = viOpen(rm, argv[1], VI_NULL, 2000, &vi);
    if (opened != VI_SUCCESS) {
        printf("open-failed %x\n", (unsigned)opened);
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    static char line[kLineSize];
    while (fgets(line, sizeof line, stdin) != NULL) {
        ViStatus status = VI_SUCCESS;
        if (line[0] == 'w' && line[1] == ' ') {
            status = WriteHex(vi, line + 2);
        } else if (line[0] == 'f' && line[1] == ' ') {
            char* rest = NULL;
            const unsigned long count = strtoul(line + 2, &rest, 10);
            status = WriteFill(vi, count, (unsigned)strtoul(rest, NULL, 10));
        } else if (line[0] == 'x' && line[1] == ' ') {
            status = Exchanges(vi, strtoul(line + 2, NULL, 10));
        } else {
            continue;
        }
        printf("%c %x\n", line[0], (unsigned)status);
        fflush(stdout);
    }
    viClose(vi);
    return 0;
}
