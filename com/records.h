#pragma once
// Records of the type library for late-bound callers that cannot build one.
// A script host has no way to make a record, so wherever a member takes a
// record it also takes an array of the record's numbers: its 32-bit integer
// fields in declaration order, nested records flattened (a FileDateTimeInfo
// is the six halves ctime low, ctime high, atime low, atime high, wtime low,
// wtime high). A record given that way is handed back as such an array.
#include <windows.h>
#include <oaidl.h>

namespace qx::com {

// Fills the record `data` (of the type `info` describes) from the array in
// `array`. Numbers from 2^31 to 2^32 - 1 are taken as unsigned halves.
// DISP_E_TYPEMISMATCH when the record is not made of 32-bit integers or the
// array does not hold exactly one number per field; DISP_E_OVERFLOW for a
// number out of range.
HRESULT recordFromArray(IRecordInfo* info, const VARIANT* array, void* data);
// The record's fields as an array of Variants holding 32-bit integers.
HRESULT recordToArray(IRecordInfo* info, const void* data, VARIANT* out);

}  // namespace qx::com
