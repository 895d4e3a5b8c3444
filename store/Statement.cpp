#include "store/Statement.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Names.h"
#include "store/SqliteValues.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <regex>

namespace store {

namespace {

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

} // namespace

std::vector<std::string> parameterNames(std::string_view sql)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '[' || c == '`') {
            const char close = c == '[' ? ']' : c;
            ++i;
            while (i < sql.size() && sql[i] != close)
                ++i;
            continue;
        }
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n')
                ++i;
            continue;
        }
        if (c == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1])) {
            std::size_t end = i + 1;
            while (end < sql.size() && isNameChar(sql[end]))
                ++end;
            std::string name(sql.substr(i + 1, end - i - 1));
            if (std::none_of(names.begin(), names.end(),
                             [&](const std::string& n) { return sameName(n, name); }))
                names.push_back(std::move(name));
            i = end - 1;
        }
    }
    return names;
}

std::string engineText(std::string_view sql)
{
    // "UPDATE T SET T.a = ..., T.b = ... WHERE ...": the engine takes no table name before a
    // column it assigns, so the assignments lose theirs; everything else stays as written.
    static const std::regex update(R"(^\s*UPDATE\s+(\w+)\s+SET\s)", std::regex::icase);
    std::string text(sql);
    std::smatch head;
    if (!std::regex_search(text, head, update)) return text;
    const std::string table = head[1].str();
    const std::size_t setStart = static_cast<std::size_t>(head.length(0));
    static const std::regex where(R"(\sWHERE[\s(])", std::regex::icase);
    std::smatch tail;
    std::string rest = text.substr(setStart);
    const std::size_t setLength = std::regex_search(rest, tail, where)
                                      ? static_cast<std::size_t>(tail.position(0))
                                      : rest.size();
    const std::regex qualified("(^|[\\s,])" + table + "\\.(\\w+)(\\s*=)", std::regex::icase);
    const std::string assignments =
        std::regex_replace(rest.substr(0, setLength), qualified, "$1$2$3");
    return text.substr(0, setStart) + assignments + rest.substr(setLength);
}

void Statement::Parameter::setValue(Value value)
{
    if (!declared_ || value.isNull()) {
        value_ = std::move(value);
        return;
    }
    switch (*declared_) {
    case ValueType::String:
        value_ = value.toString();
        break;
    case ValueType::Integer:
        value_ = value.toInteger();
        break;
    case ValueType::Boolean:
        value_ = value.toBoolean();
        break;
    default:
        value_ = std::move(value);
    }
}

void Statement::Parameter::declare(ValueType type)
{
    declared_ = type;
    setValue(std::move(value_));
}

void Statement::Finalizer::operator()(sqlite3_stmt* s) const
{
    sqlite3_finalize(s);
}

Statement::Statement(Connection& connection, std::string componentName)
    : connection_(connection), name_(std::move(componentName))
{
}

Statement::~Statement() = default;

void Statement::setSql(std::string text)
{
    close();
    sql_ = std::move(text);
    parameters_.clear();
    for (std::string& n : parameterNames(sql_))
        parameters_.push_back(Parameter(std::move(n)));
}

Statement::Parameter& Statement::paramByName(std::string_view parameterName)
{
    for (Parameter& p : parameters_)
        if (sameName(p.name(), parameterName)) return p;
    throw Error(formatMessage("Parameter '%s' not found", {parameterName}));
}

void Statement::close()
{
    stmt_.reset();
}

int Statement::execute()
{
    sqlite3* db = connection_.handle();
    if (!stmt_) {
        sqlite3_stmt* stmt = nullptr;
        const unsigned flags = prepared_ ? SQLITE_PREPARE_PERSISTENT : 0;
        if (sqlite3_prepare_v3(db, engineText(sql_).c_str(), -1, flags, &stmt, nullptr) !=
            SQLITE_OK)
            connection_.fail();
        stmt_.reset(stmt);
    }
    sqlite3_stmt* stmt = stmt_.get();
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    // Every place a parameter stands is bound, whatever the case it is written in there.
    for (int index = 1; index <= sqlite3_bind_parameter_count(stmt); ++index) {
        const char* name = sqlite3_bind_parameter_name(stmt, index);
        if (!name || !*name) continue;
        for (const Parameter& p : parameters_)
            if (sameName(p.name(), name + 1)) {
                bindValue(stmt, index, p.value());
                break;
            }
    }
    // A write is a transaction of its own, or a savepoint of the step it runs in: committed,
    // or nothing changed, by the time execute returns.
    std::optional<Transaction> transaction;
    if (!sqlite3_stmt_readonly(stmt)) transaction.emplace(connection_);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) connection_.fail();
    const int changes = sqlite3_changes(db);
    if (transaction) transaction->commit();
    if (!prepared_) close();
    return changes;
}

} // namespace store
