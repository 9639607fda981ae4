#include "colortext.h"

#include <array>
#include <cctype>

namespace bg {

namespace {

struct NamedColor {
    std::string_view name;
    std::uint32_t value; // 0x00BBGGRR
};

// Standard colours first: colorToText gives the first name of a value, so "clSilver" wins over
// its alias "clLtGray", and no system colour ever names a plain value.
constexpr std::array kStandard = {
    NamedColor{"clBlack", 0x000000},      NamedColor{"clMaroon", 0x000080},
    NamedColor{"clGreen", 0x008000},      NamedColor{"clOlive", 0x008080},
    NamedColor{"clNavy", 0x800000},       NamedColor{"clPurple", 0x800080},
    NamedColor{"clTeal", 0x808000},       NamedColor{"clGray", 0x808080},
    NamedColor{"clSilver", 0xC0C0C0},     NamedColor{"clRed", 0x0000FF},
    NamedColor{"clLime", 0x00FF00},       NamedColor{"clYellow", 0x00FFFF},
    NamedColor{"clBlue", 0xFF0000},       NamedColor{"clFuchsia", 0xFF00FF},
    NamedColor{"clAqua", 0xFFFF00},       NamedColor{"clWhite", 0xFFFFFF},
    NamedColor{"clMoneyGreen", 0xC0DCC0}, NamedColor{"clSkyBlue", 0xF0CAA6},
    NamedColor{"clCream", 0xF0FBFF},      NamedColor{"clMedGray", 0xA4A0A0},
    NamedColor{"clLtGray", 0xC0C0C0},     NamedColor{"clDkGray", 0x808080},
};

// System colours by their desktop index (the low byte of the toolkit's 0xFF0000nn encoding),
// with the classic desktop palette as their value.
struct SystemColor {
    std::string_view name;
    int index;
    std::uint32_t value;
};

constexpr std::array kSystem = {
    SystemColor{"clScrollBar", 0, 0xC8D0D4},
    SystemColor{"clBackground", 1, 0xA56E3A},
    SystemColor{"clActiveCaption", 2, 0x6A240A},
    SystemColor{"clInactiveCaption", 3, 0x808080},
    SystemColor{"clMenu", 4, 0xC8D0D4},
    SystemColor{"clWindow", 5, 0xFFFFFF},
    SystemColor{"clWindowFrame", 6, 0x000000},
    SystemColor{"clMenuText", 7, 0x000000},
    SystemColor{"clWindowText", 8, 0x000000},
    SystemColor{"clCaptionText", 9, 0xFFFFFF},
    SystemColor{"clActiveBorder", 10, 0xC8D0D4},
    SystemColor{"clInactiveBorder", 11, 0xC8D0D4},
    SystemColor{"clAppWorkSpace", 12, 0x808080},
    SystemColor{"clHighlight", 13, 0x6A240A},
    SystemColor{"clHighlightText", 14, 0xFFFFFF},
    SystemColor{"clBtnFace", 15, 0xC8D0D4},
    SystemColor{"clBtnShadow", 16, 0x808080},
    SystemColor{"clGrayText", 17, 0x808080},
    SystemColor{"clBtnText", 18, 0x000000},
    SystemColor{"clInactiveCaptionText", 19, 0xC8D0D4},
    SystemColor{"clBtnHighlight", 20, 0xFFFFFF},
    SystemColor{"cl3DDkShadow", 21, 0x404040},
    SystemColor{"cl3DLight", 22, 0xC8D0D4},
    SystemColor{"clInfoText", 23, 0x000000},
    SystemColor{"clInfoBk", 24, 0xE1FFFF},
    SystemColor{"clHotLight", 26, 0x800000},
    SystemColor{"clGradientActiveCaption", 27, 0xF0CAA6},
    SystemColor{"clGradientInactiveCaption", 28, 0xC0C0C0},
    SystemColor{"clMenuHighlight", 29, 0xC56A31},
    SystemColor{"clMenuBar", 30, 0xD8E9EC},
};

constexpr std::uint32_t kSystemColorFlag = 0xFF000000;
constexpr std::size_t kHexDigits = 8;

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<std::uint32_t> systemColor(int index) {
    for (const SystemColor& c : kSystem)
        if (c.index == index) return c.value;
    return std::nullopt;
}

std::optional<std::uint32_t> fromHex(std::string_view digits) {
    if (digits.size() != kHexDigits) return std::nullopt;
    std::uint32_t v = 0;
    for (char ch : digits) {
        const int c = std::tolower(static_cast<unsigned char>(ch));
        int d = 0;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return std::nullopt;
        v = v << 4 | static_cast<std::uint32_t>(d);
    }
    if (v <= 0xFFFFFF) return v;
    // The toolkit's own encoding of a system colour; other high bytes are no colour.
    if ((v & 0xFFFFFF00) == kSystemColorFlag) return systemColor(static_cast<int>(v & 0xFF));
    return std::nullopt;
}

} // namespace

std::optional<std::uint32_t> colorFromText(std::string_view text) {
    if (!text.empty() && text.front() == '$') return fromHex(text.substr(1));
    for (const NamedColor& c : kStandard)
        if (sameText(c.name, text)) return c.value;
    for (const SystemColor& c : kSystem)
        if (sameText(c.name, text)) return c.value;
    return std::nullopt;
}

std::string colorToText(std::uint32_t color) {
    color &= 0xFFFFFF;
    for (const NamedColor& c : kStandard)
        if (c.value == color) return std::string(c.name);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = "$";
    for (int shift = 28; shift >= 0; shift -= 4)
        out += kDigits[(color >> shift) & 0xF];
    return out;
}

} // namespace bg
