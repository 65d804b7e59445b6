// Lead-byte sets of real ANSI code pages, as GetCPInfo reports them.
#pragma once
#include "core/lead_bytes.h"

namespace testdata {

// Shift JIS (932): its second bytes run from 0x40 to 0xFC and so include the
// backslash 0x5C, which is what makes the double-byte rule matter.
inline core::LeadByteSet cp932LeadBytes() {
  core::LeadByteSet set;
  set.addRange(0x81, 0x9F);
  set.addRange(0xE0, 0xFC);
  return set;
}

}  // namespace testdata
