/*
 * A plain C caller of the library: opens a TCP socket session to 127.0.0.1 on
 * the port given, sends one request, prints the answer line and closes.
 *
 *   api_program PORT [--leave-open]
 *
 * With --leave-open the session is not closed: the library closes it when it
 * is unloaded at exit. Exit codes: 0 answer printed, 1 a library call failed
 * (its text on stderr), 2 bad command line.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <kvvisa/visa.h>

static int Fail(const char* what, ViStatus status) {
    ViChar text[VI_FIND_BUFLEN];
    viStatusDesc(VI_NULL, status, text);
    fprintf(stderr, "%s: %s (0x%08lX)\n", what, text, (unsigned long)(ViUInt32)status);
    return 1;
}

int main(int argc, char** argv) {
    const int leaveOpen = argc == 3 && strcmp(argv[2], "--leave-open") == 0;
    if (argc < 2 || (argc == 3 && !leaveOpen) || argc > 3 || atoi(argv[1]) <= 0) {
        fprintf(stderr, "usage: %s PORT [--leave-open]\n", argv[0]);
        return 2;
    }
    const char* request = "*IDN?\r\n";

    char resource[64];
    snprintf(resource, sizeof resource, "TCPIP0::127.0.0.1::%s::SOCKET", argv[1]);

    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    ViStatus status = viOpenDefaultRM(&rm);
    if (status != VI_SUCCESS) return Fail("viOpenDefaultRM", status);
    status = viOpen(rm, resource, VI_NULL, 2000, &vi);
    if (status != VI_SUCCESS) return Fail("viOpen", status);
    status = viSetAttribute(vi, VI_ATTR_TMO_VALUE, 5000);
    if (status != VI_SUCCESS) return Fail("viSetAttribute", status);

    ViUInt32 written = 0;
    const ViUInt32 length = (ViUInt32)strlen(request);
    status = viWrite(vi, (ViConstBuf)request, length, &written);
    if (status != VI_SUCCESS || written != length) return Fail("viWrite", status);

    /* viScanf has no length limit: the instrument's lines are short. */
    ViChar answer[1024];
    status = viScanf(vi, "%s\r\n", answer);
    if (status != VI_SUCCESS) return Fail("viScanf", status);
    printf("%s\n", answer);
    if (leaveOpen) return 0;

    status = viClose(vi);
    if (status != VI_SUCCESS) return Fail("viClose", status);
    status = viClose(rm);
    if (status != VI_SUCCESS) return Fail("viClose", status);
    return 0;
}
