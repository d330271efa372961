// Local time, and the host runtime's own conversions between dates and text
// in the user's locale.
#include <windows.h>
#include <oleauto.h>

#include "core/date.h"
#include "core/error.h"

namespace qx {

double nowLocal() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return toDateValue({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
}

String dateToText(double d) {
    BSTR b = nullptr;
    if (FAILED(VarBstrFromDate(d, LOCALE_USER_DEFAULT, 0, &b))) raise(err::TypeMismatch);
    String out(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
    SysFreeString(b);
    return out;
}

double textToDate(const String& text) {
    BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    DATE d = 0;
    const HRESULT hr = VarDateFromStr(b, LOCALE_USER_DEFAULT, 0, &d);
    SysFreeString(b);
    if (FAILED(hr)) raise(err::TypeMismatch);
    return d;
}

}  // namespace qx
