#include "time_stamp.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "local_clock.h"

namespace korv {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `word` (lower case) stands at `pos`, in any case.
bool MatchesAt(std::string_view picture, std::size_t pos, std::string_view word) {
    if (picture.size() - pos < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(picture[pos + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

enum class Kind { kText, kDay, kMonth, kYear, kHour, kMinute, kSecond, kAmPm, kSpelledAmPm };

struct Token {
    Kind kind;
    int width = 0;     // digits: 1 means no leading zero
    std::string text;  // kText: itself; kSpelledAmPm: "AM/PM" as spelled
};

// Splits a picture into fields and literal text. d, m, n, h and s take at
// most two letters, y takes its whole run (one or two give the short year).
// m and mm mean minutes when the last unquoted letter before them closed an
// hour, so "h:mm" and "hh mm" read minutes while "h d m" reads a month.
std::vector<Token> Tokenize(std::string_view picture) {
    std::vector<Token> tokens;
    auto add_text = [&tokens](std::string_view text) {
        if (tokens.empty() || tokens.back().kind != Kind::kText) {
            tokens.push_back({Kind::kText, 0, {}});
        }
        tokens.back().text += text;
    };
    bool after_hour = false;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = picture.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? picture.size() : close;
            add_text(picture.substr(i + 1, end - i - 1));
            i = end == picture.size() ? end : end + 1;
            continue;
        }
        if (MatchesAt(picture, i, "am/pm")) {
            tokens.push_back({Kind::kSpelledAmPm, 0, std::string(picture.substr(i, 5))});
            after_hour = false;
            i += 5;
            continue;
        }
        if (MatchesAt(picture, i, "ampm")) {
            tokens.push_back({Kind::kAmPm, 0, {}});
            after_hour = false;
            i += 4;
            continue;
        }
        if (!IsLetter(c)) {
            add_text(picture.substr(i, 1));
            ++i;
            continue;
        }
        const char letter = Lower(c);
        std::size_t run = 1;
        while (i + run < picture.size() && Lower(picture[i + run]) == letter) {
            ++run;
        }
        const int pair = run >= 2 ? 2 : 1;
        std::size_t used = static_cast<std::size_t>(pair);
        switch (letter) {
            case 'd':
                tokens.push_back({Kind::kDay, pair, {}});
                break;
            case 'm':
                tokens.push_back({after_hour ? Kind::kMinute : Kind::kMonth, pair, {}});
                break;
            case 'n':
                tokens.push_back({Kind::kMinute, pair, {}});
                break;
            case 'h':
                tokens.push_back({Kind::kHour, pair, {}});
                break;
            case 's':
                tokens.push_back({Kind::kSecond, pair, {}});
                break;
            case 'y':
                tokens.push_back({Kind::kYear, run <= 2 ? 2 : 4, {}});
                used = run;
                break;
            default:
                add_text(picture.substr(i, 1));
                used = 1;
                break;
        }
        i += used;
        after_hour = letter == 'h';
    }
    return tokens;
}

std::string Number(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

// The text of a strftime conversion in the short date picture; nothing for a
// conversion the picture cannot express.
std::optional<std::string> DateField(char conversion) {
    switch (conversion) {
        case 'd':
            return "dd";
        case 'e':
            return "d";
        case 'm':
            return "mm";
        case 'y':
            return "yy";
        case 'Y':
            return "yyyy";
        case 'D':
            return "mm/dd/yy";
        case 'F':
            return "yyyy-mm-dd";
        default:
            return std::nullopt;
    }
}

// Literal text of a locale format, quoted where the picture would read it
// as a field or as a quote.
void AppendLiteral(std::string& picture, char c) {
    if (IsLetter(c) || c == '\'') {
        picture += '"';
        picture += c;
        picture += '"';
    } else if (c == '"') {
        picture += "'\"'";
    } else {
        picture += c;
    }
}

std::optional<std::string> DatePicture(std::string_view format) {
    std::string picture;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            AppendLiteral(picture, format[i]);
            continue;
        }
        if (++i == format.size()) {
            return std::nullopt;
        }
        if (format[i] == '%') {
            picture += '%';
            continue;
        }
        const std::optional<std::string> field = DateField(format[i]);
        if (!field) {
            return std::nullopt;
        }
        picture += *field;
    }
    return picture;
}

// The conversion letters of a time format in order, %r spelled out by the
// locale's twelve-hour format (kept as 'r' too), %T and %R by their parts.
std::string TimeConversions(std::string_view format, std::string_view twelve_hour_format,
                            bool spell_out_r) {
    std::string letters;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        ++i;
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) {
            ++i;
        }
        if (i >= format.size()) {
            break;
        }
        switch (format[i]) {
            case 'r':
                letters += 'r';
                if (spell_out_r) {
                    letters += TimeConversions(
                        twelve_hour_format.empty() ? "%I:%M:%S %p" : twelve_hour_format, {}, false);
                }
                break;
            case 'T':
                letters += "HMS";
                break;
            case 'R':
                letters += "HM";
                break;
            default:
                letters += format[i];
                break;
        }
    }
    return letters;
}

}  // namespace

TimeFormat TimeFormat::FromFormats(std::string_view date_format, std::string_view time_format,
                                   std::string_view time_format_ampm, std::string_view am,
                                   std::string_view pm) {
    const std::string letters = TimeConversions(time_format, time_format_ampm, true);
    const std::size_t hour_at = letters.find_first_of("HIkl");
    const std::size_t designator_at = letters.find_first_of("pP");
    const bool twelve_hour = letters.find_first_of("IlrpP") != std::string::npos;
    const bool leading_zero =
        hour_at != std::string::npos && (letters[hour_at] == 'H' || letters[hour_at] == 'I');

    const bool designator_first = designator_at != std::string::npos &&
                                  hour_at != std::string::npos && designator_at < hour_at;
    return FromSettings(DatePicture(date_format).value_or(""), leading_zero, twelve_hour,
                        designator_first, am.empty() ? "AM" : am, pm.empty() ? "PM" : pm);
}

TimeFormat TimeFormat::FromSettings(std::string_view short_date, bool leading_zero,
                                    bool twelve_hour, bool designator_first, std::string_view am,
                                    std::string_view pm) {
    TimeFormat result;
    result.short_date = short_date.empty() ? "m/d/yy" : std::string(short_date);
    const std::string time = std::string(leading_zero ? "hh" : "h") + ":mm:ss";
    if (!twelve_hour) {
        result.long_time = time;
    } else if (designator_first) {
        result.long_time = "AMPM " + time;
    } else {
        result.long_time = time + " AMPM";
    }
    result.am = std::string(am);
    result.pm = std::string(pm);
    return result;
}

std::string FormatDateTime(const std::string& picture, const std::tm& when,
                           const TimeFormat& format) {
    const std::vector<Token> tokens = Tokenize(picture);
    bool twelve_hour = false;
    for (const Token& token : tokens) {
        twelve_hour = twelve_hour || token.kind == Kind::kAmPm || token.kind == Kind::kSpelledAmPm;
    }
    const bool before_noon = when.tm_hour < 12;

    std::string text;
    for (const Token& token : tokens) {
        switch (token.kind) {
            case Kind::kText:
                text += token.text;
                break;
            case Kind::kDay:
                text += Number(when.tm_mday, token.width);
                break;
            case Kind::kMonth:
                text += Number(when.tm_mon + 1, token.width);
                break;
            case Kind::kYear: {
                const int year = when.tm_year + 1900;
                text += Number(token.width == 2 ? (year % 100 + 100) % 100 : year, token.width);
                break;
            }
            case Kind::kHour: {
                int hour = when.tm_hour;
                if (twelve_hour) {
                    hour = hour % 12 == 0 ? 12 : hour % 12;
                }
                text += Number(hour, token.width);
                break;
            }
            case Kind::kMinute:
                text += Number(when.tm_min, token.width);
                break;
            case Kind::kSecond:
                text += Number(when.tm_sec, token.width);
                break;
            case Kind::kAmPm:
                text += before_noon ? format.am : format.pm;
                break;
            case Kind::kSpelledAmPm:
                text += token.text.substr(before_noon ? 0 : 3, 2);
                break;
        }
    }
    return text;
}

std::string TimeStamp(const TimeFormat& format, std::time_t when) {
    const std::tm local = LocalTime(when);
    return FormatDateTime(format.short_date, local, format) + " " +
           FormatDateTime(format.long_time, local, format);
}

std::string TimeStampNow(const TimeFormat& format) {
    return TimeStamp(format, std::time(nullptr));
}

}  // namespace korv
