#include "store/EngineMessage.h"

#include "store/Error.h"

#include <sqlite3.h>

#include <cerrno>
#include <regex>

namespace store {

std::string engineMessage(int code, int systemError, std::string_view engineText,
                          std::string_view path)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_FULL || systemError == ENOSPC || systemError == EDQUOT)
        return formatMessage("The disk holding '%s' is full, so the change was not saved; free "
                             "some space and try again",
                             {path});
    if (primary == SQLITE_IOERR)
        return formatMessage("The disk could not write '%s' (%s), so the change was not saved",
                             {path, engineText});
    if (primary == SQLITE_READONLY || systemError == EROFS)
        return formatMessage("'%s' is read-only, or lies in a folder that cannot be written, so "
                             "the change was not saved",
                             {path});
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return "Another program is using the party file, so the change could not be saved yet; "
               "it is kept and will be tried again with the next save";
    if (primary == SQLITE_INTERRUPT)
        return "The party file took too long to answer (a view or trigger in it does not "
               "finish), so the work was stopped and nothing of it was saved";
    if (code == SQLITE_CONSTRAINT_CHECK) {
        // The party file holds its texts to their lengths: "length(Name) <= 255".
        static const std::regex limit(R"(length\((\w+)\)\s*<=\s*(\d+))");
        std::match_results<std::string_view::const_iterator> m;
        if (std::regex_search(engineText.begin(), engineText.end(), m, limit))
            return formatMessage("%s is longer than %s characters, so the change was not saved",
                                 {m[1].str(), m[2].str()});
    }
    return std::string(engineText);
}

} // namespace store
