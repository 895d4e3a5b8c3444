#include "store/ConnectionString.h"

#include "store/Error.h"

#include <algorithm>
#include <cctype>

namespace store {

namespace {

#ifdef _WIN32
constexpr char pathSeparator = '\\';
bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}
#else
constexpr char pathSeparator = '/';
bool isSeparator(char c)
{
    return c == '/';
}
#endif

std::string trimmed(std::string_view s)
{
    const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

[[noreturn]] void malformed()
{
    throw Error("The connection string is not well formed");
}

} // namespace

std::string directoryOf(std::string_view fileName)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < fileName.size(); ++i)
        if (isSeparator(fileName[i])) last = i;
    if (last == std::string_view::npos) return {};
    // "C:\Tavrix.exe" keeps its separator: "C:" alone would be the drive's current directory.
    if (last == 2 && fileName[1] == ':') return std::string(fileName.substr(0, 3));
    return std::string(fileName.substr(0, last));
}

std::string quoteConnectionValue(std::string_view value)
{
    const bool hasDouble = value.find('"') != std::string_view::npos;
    const bool hasSingle = value.find('\'') != std::string_view::npos;
    const bool edgeBlank =
        !value.empty() && (std::isspace(static_cast<unsigned char>(value.front())) ||
                           std::isspace(static_cast<unsigned char>(value.back())));
    const bool needsQuotes = hasDouble || value.find(';') != std::string_view::npos || edgeBlank ||
                             (!value.empty() && value.front() == '\'');
    if (!needsQuotes) return std::string(value);
    if (!hasDouble) return "\"" + std::string(value) + "\"";
    if (!hasSingle) return "'" + std::string(value) + "'";
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string connectionStringFor(std::string_view executableFileName)
{
    // A name without a folder says nothing of where the program is: no party file is guessed.
    if (std::none_of(executableFileName.begin(), executableFileName.end(), isSeparator))
        throw Error(formatMessage("The folder of the program '%s' is not known, so its party "
                                  "file cannot be found",
                                  {executableFileName}));
    std::string path = directoryOf(executableFileName);
    if (path.empty() || !isSeparator(path.back())) path += pathSeparator;
    path += partyFileName;
    return "Provider=" + std::string(jetProvider) + ";Data Source=" + quoteConnectionValue(path) +
           ";Persist Security Info=False";
}

std::map<std::string, std::string> parseConnectionString(std::string_view text)
{
    std::map<std::string, std::string> pairs;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t eq = text.find('=', i);
        const std::size_t semi = text.find(';', i);
        if (semi < eq) { // an empty element ("a=b;;c=d") or a stray word
            if (!trimmed(text.substr(i, semi - i)).empty()) malformed();
            i = semi + 1;
            continue;
        }
        if (eq == std::string_view::npos) {
            if (!trimmed(text.substr(i)).empty()) malformed();
            break;
        }
        const std::string key = lowered(trimmed(text.substr(i, eq - i)));
        if (key.empty()) malformed();
        i = eq + 1;
        while (i < text.size() && text[i] == ' ')
            ++i;
        std::string value;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i++];
            for (;;) {
                if (i >= text.size()) malformed();
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) { // doubled: one quote mark
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < text.size() && text[i] == ' ')
                ++i;
            if (i < text.size() && text[i] != ';') malformed();
        }
        else {
            const std::size_t end = std::min(text.find(';', i), text.size());
            value = trimmed(text.substr(i, end - i));
            i = end;
        }
        if (i < text.size()) ++i; // the ';'
        pairs[key] = value;
    }
    return pairs;
}

} // namespace store
