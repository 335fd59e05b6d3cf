#include "display/integer_format.h"

#include <cctype>
#include <vector>

namespace {

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    std::size_t length = 0;  // characters from '%' to the conversion letter inclusive
};

// Parses "%[-0][width](d|i|u)" at the start of `text`; length 0 when it is not one.
Conversion ParseConversion(std::string_view text) {
    Conversion conversion;
    std::size_t k = 1;
    for (; k < text.size() && (text[k] == '-' || text[k] == '0'); ++k) {
        (text[k] == '-' ? conversion.leftAlign : conversion.zeroPad) = true;
    }
    // At most two width digits, which keeps the padding small.
    for (std::size_t digits = 0;
         k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])) && digits < 2;
         ++k, ++digits) {
        conversion.width = conversion.width * 10 + static_cast<std::size_t>(text[k] - '0');
    }
    if (k < text.size() && (text[k] == 'd' || text[k] == 'i' || text[k] == 'u')) {
        conversion.length = k + 1;
    }
    return conversion;
}

std::string Padded(long long value, const Conversion& conversion) {
    std::string digits = std::to_string(value);
    if (digits.size() >= conversion.width) {
        return digits;
    }
    const std::size_t fill = conversion.width - digits.size();
    if (conversion.leftAlign) {
        return digits + std::string(fill, ' ');
    }
    if (conversion.zeroPad) {
        const std::size_t sign = digits[0] == '-' ? 1 : 0;
        return digits.insert(sign, fill, '0');
    }
    return std::string(fill, ' ') + digits;
}

}  // namespace

std::string FormatIntegers(std::string_view pattern, std::initializer_list<long long> values) {
    const std::vector<long long> arguments(values);
    std::size_t next = 0;
    std::string result;
    for (std::size_t k = 0; k < pattern.size();) {
        if (pattern[k] != '%') {
            result += pattern[k++];
            continue;
        }
        if (k + 1 < pattern.size() && pattern[k + 1] == '%') {
            result += '%';
            k += 2;
            continue;
        }
        const Conversion conversion = ParseConversion(pattern.substr(k));
        if (conversion.length == 0 || next >= arguments.size()) {
            result += pattern[k++];
            continue;
        }
        result += Padded(arguments[next++], conversion);
        k += conversion.length;
    }
    return result;
}
