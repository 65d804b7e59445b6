// The slice of the Firebird client's C interface that the service layer calls,
// with the widths the client library uses: the status entry pointer-wide, the
// handle 32 bits. KP_CLIENT_CALL is the library's calling convention, set by the build.
#pragma once
#include <cstdint>

#ifndef KP_CLIENT_CALL
#define KP_CLIENT_CALL
#endif

namespace service {

using ISC_STATUS = std::intptr_t;
using ISC_LONG = std::int32_t;
using isc_svc_handle = std::uint32_t;
inline constexpr int kStatusLength = 20;
using StatusVector = ISC_STATUS[kStatusLength];

extern "C" {
using isc_service_attach_fn = ISC_STATUS(KP_CLIENT_CALL*)(ISC_STATUS*, unsigned short, const char*,
                                                          isc_svc_handle*, unsigned short, const char*);
using isc_service_start_fn = ISC_STATUS(KP_CLIENT_CALL*)(ISC_STATUS*, isc_svc_handle*, isc_svc_handle*,
                                                         unsigned short, const char*);
using isc_service_detach_fn = ISC_STATUS(KP_CLIENT_CALL*)(ISC_STATUS*, isc_svc_handle*);
using isc_sqlcode_fn = ISC_LONG(KP_CLIENT_CALL*)(const ISC_STATUS*);
using isc_interprete_fn = ISC_LONG(KP_CLIENT_CALL*)(char*, const ISC_STATUS**);
using fb_interpret_fn = ISC_LONG(KP_CLIENT_CALL*)(char*, unsigned int, const ISC_STATUS**);
}

}  // namespace service
