/*
 * Stand-in for the Firebird client library, for tests that must see the exact
 * bytes the program hands over, or make a call fail on purpose. The same
 * source builds libfbclient.so.2 on Linux and gds32.dll on Windows.
 *
 * It only records and answers; it talks to no server. Its behaviour is set by
 * environment variables, read again at every call, so a test can change them
 * between calls and a program started under Wine inherits them:
 *
 *   KP_STANDIN_LOG    file to which each service call appends one line, opened
 *                     and closed per call:
 *                       attach <service name hex> <parameter buffer hex>
 *                       start <request hex>
 *                       detach
 *                     Hex is lowercase without separators, and covers exactly
 *                     the length the caller passed.
 *   KP_STANDIN_FAIL   comma-separated calls among attach,start,detach that fail:
 *                     the status vector becomes {1, code, 0} and the call
 *                     returns code.
 *   KP_STANDIN_CODE   that code (decimal); 335544344 (isc_io_error) by default.
 *   KP_STANDIN_TEXTS  the texts that isc_interprete / fb_interpret hand out one
 *                     after another for a failed status, separated by '|';
 *                     "stand-in failure" by default.
 *   KP_STANDIN_INTERPRET_LOG
 *                     optional file to which each isc_interprete call appends
 *                     "isc_interprete" and each fb_interpret call
 *                     "fb_interpret <buffer size>".
 *
 * Beyond that it behaves like a client library would where a test could
 * otherwise be fooled: it hands out non-zero handles and refuses a start or
 * detach with a handle it did not hand out (code 335544559, isc_bad_svc_handle),
 * refuses a non-null reserved argument of the start call, and clears the
 * handle on a successful detach. isc_sqlcode answers -902 for any failure.
 *
 * Build variants leave out entry points to look like other client versions:
 *   KP_STANDIN_NO_ROLLBACK_RETAINING  a client older than version 6
 *   KP_STANDIN_NO_SQLCODE             a library lacking a demanded entry point
 *   KP_STANDIN_NO_FB_INTERPRET        a client with isc_interprete only
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#define STANDIN_EXPORT __declspec(dllexport)
#if defined(__i386__)
#define STANDIN_CALL __stdcall
#else
#define STANDIN_CALL
#endif
#else
#define STANDIN_EXPORT __attribute__((visibility("default")))
#define STANDIN_CALL
#endif

typedef intptr_t ISC_STATUS;
typedef int32_t ISC_LONG;
typedef uint32_t isc_svc_handle;

enum { kDefaultCode = 335544344, kBadHandle = 335544559, kMaxHandles = 64 };

static isc_svc_handle issued[kMaxHandles];
static isc_svc_handle nextHandle = 0x5EC0;
static int textIndex;

static void logLine(const char* var, const char* word, const char* a, size_t alen, const char* b,
                    size_t blen, int withA, int withB) {
  const char* path = getenv(var);
  FILE* f;
  size_t i;
  if (path == NULL || *path == '\0') return;
  f = fopen(path, "ab");
  if (f == NULL) return;
  fputs(word, f);
  if (withA) {
    fputc(' ', f);
    for (i = 0; i < alen; ++i) fprintf(f, "%02x", (unsigned)(unsigned char)a[i]);
  }
  if (withB) {
    fputc(' ', f);
    for (i = 0; i < blen; ++i) fprintf(f, "%02x", (unsigned)(unsigned char)b[i]);
  }
  fputc('\n', f);
  fclose(f);
}

static int failing(const char* call) {
  const char* list = getenv("KP_STANDIN_FAIL");
  size_t n = strlen(call);
  if (list == NULL) return 0;
  while (*list != '\0') {
    const char* end = strchr(list, ',');
    size_t len = end != NULL ? (size_t)(end - list) : strlen(list);
    if (len == n && strncmp(list, call, n) == 0) return 1;
    if (end == NULL) break;
    list = end + 1;
  }
  return 0;
}

static ISC_STATUS fail(ISC_STATUS* status, ISC_STATUS code) {
  status[0] = 1;
  status[1] = code;
  status[2] = 0;
  textIndex = 0;
  return code;
}

static ISC_STATUS configuredFailure(ISC_STATUS* status) {
  const char* text = getenv("KP_STANDIN_CODE");
  return fail(status, text != NULL && *text != '\0' ? (ISC_STATUS)strtol(text, NULL, 10) : kDefaultCode);
}

static ISC_STATUS succeed(ISC_STATUS* status) {
  status[0] = 1;
  status[1] = 0;
  status[2] = 0;
  return 0;
}

static int findIssued(isc_svc_handle handle) {
  int i;
  if (handle == 0) return -1;
  for (i = 0; i < kMaxHandles; ++i)
    if (issued[i] == handle) return i;
  return -1;
}

STANDIN_EXPORT ISC_STATUS STANDIN_CALL isc_service_attach(ISC_STATUS* status, unsigned short nameLength,
                                                          const char* name, isc_svc_handle* handle,
                                                          unsigned short spbLength, const char* spb) {
  int i;
  logLine("KP_STANDIN_LOG", "attach", name, nameLength, spb, spbLength, 1, 1);
  if (failing("attach")) return configuredFailure(status);
  for (i = 0; i < kMaxHandles && issued[i] != 0; ++i) {
  }
  if (i == kMaxHandles) return fail(status, kBadHandle);
  issued[i] = nextHandle++;
  *handle = issued[i];
  return succeed(status);
}

STANDIN_EXPORT ISC_STATUS STANDIN_CALL isc_service_start(ISC_STATUS* status, isc_svc_handle* handle,
                                                         isc_svc_handle* reserved, unsigned short length,
                                                         const char* request) {
  logLine("KP_STANDIN_LOG", "start", request, length, NULL, 0, 1, 0);
  if (failing("start")) return configuredFailure(status);
  if (reserved != NULL || findIssued(*handle) < 0) return fail(status, kBadHandle);
  return succeed(status);
}

STANDIN_EXPORT ISC_STATUS STANDIN_CALL isc_service_detach(ISC_STATUS* status, isc_svc_handle* handle) {
  int i;
  logLine("KP_STANDIN_LOG", "detach", NULL, 0, NULL, 0, 0, 0);
  if (failing("detach")) return configuredFailure(status);
  i = findIssued(*handle);
  if (i < 0) return fail(status, kBadHandle);
  issued[i] = 0;
  *handle = 0;
  return succeed(status);
}

#ifndef KP_STANDIN_NO_SQLCODE
STANDIN_EXPORT ISC_LONG STANDIN_CALL isc_sqlcode(const ISC_STATUS* status) {
  return status[0] == 1 && status[1] != 0 ? -902 : 0;
}
#endif

/* Copies the next configured text into buf (at most size bytes with the
   terminator; size 0 means unbounded, as isc_interprete has no size) and
   moves *cursor past the status vector's one cluster after the last text. */
static ISC_LONG nextText(char* buf, size_t size, const ISC_STATUS** cursor) {
  const char* texts = getenv("KP_STANDIN_TEXTS");
  const char* start;
  const char* end;
  size_t len;
  int i;
  if ((*cursor)[0] == 0 || (*cursor)[1] == 0) return 0;
  if (texts == NULL) texts = "stand-in failure";
  start = texts;
  for (i = 0; i < textIndex && start != NULL; ++i) {
    start = strchr(start, '|');
    if (start != NULL) ++start;
  }
  if (start == NULL) {
    *cursor += 2;
    return 0;
  }
  end = strchr(start, '|');
  len = end != NULL ? (size_t)(end - start) : strlen(start);
  if (size != 0 && len > size - 1) len = size - 1;
  memcpy(buf, start, len);
  buf[len] = '\0';
  ++textIndex;
  if (end == NULL) *cursor += 2;
  return (ISC_LONG)len;
}

STANDIN_EXPORT ISC_LONG STANDIN_CALL isc_interprete(char* buf, const ISC_STATUS** cursor) {
  logLine("KP_STANDIN_INTERPRET_LOG", "isc_interprete", NULL, 0, NULL, 0, 0, 0);
  return nextText(buf, 0, cursor);
}

#ifndef KP_STANDIN_NO_FB_INTERPRET
STANDIN_EXPORT ISC_LONG STANDIN_CALL fb_interpret(char* buf, unsigned int size, const ISC_STATUS** cursor) {
  char word[32];
  snprintf(word, sizeof word, "fb_interpret %u", size);
  logLine("KP_STANDIN_INTERPRET_LOG", word, NULL, 0, NULL, 0, 0, 0);
  if (size == 0) return 0;
  return nextText(buf, size, cursor);
}
#endif

#ifndef KP_STANDIN_NO_ROLLBACK_RETAINING
/* Present only as the version marker; never called by the service layer. */
STANDIN_EXPORT ISC_STATUS STANDIN_CALL isc_rollback_retaining(ISC_STATUS* status, void* transaction) {
  (void)transaction;
  return succeed(status);
}
#endif
