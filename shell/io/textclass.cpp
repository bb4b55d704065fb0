#include "textclass.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#include <wctype.h>
#endif

namespace shell {

bool isletterordigit(char32_t cp) {
    if (cp < 0x80)
        return (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9');
#ifdef _WIN32
    // The system's character types of the UTF-16 form; a character beyond
    // the basic plane is typed by its pair of surrogates.
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    wchar_t units[2];
    int n = 1;
    if (cp > 0xFFFF) {
        units[0] = wchar_t(0xD800 + ((cp - 0x10000) >> 10));
        units[1] = wchar_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        n = 2;
    } else {
        units[0] = wchar_t(cp);
    }
    WORD types[2] = {};
    if (!GetStringTypeW(CT_CTYPE1, units, n, types)) return false;
    return (types[0] & (C1_ALPHA | C1_DIGIT)) != 0;
#else
    // The C library's idea of letters and digits in a UTF-8 locale, whatever
    // locale the program itself runs in.
    static const locale_t utf8 = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (!l) l = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", locale_t(0));
        return l;
    }();
    return utf8 && iswalnum_l(static_cast<wint_t>(cp), utf8);
#endif
}

}  // namespace shell
