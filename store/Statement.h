#pragma once

#include "store/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace store {

class Connection;

// A parameterised SQL text run on the party connection. Parameters are the words with a
// leading colon; the text is prepared once and run as often as execute is called, each run
// committed before it returns. Values are always bound, never spliced into the text.
class Statement {
public:
    class Parameter {
    public:
        const std::string& name() const { return name_; }
        const Value& value() const { return value_; }
        // A declared parameter converts what it is given to its declared type (a text, a
        // whole number, a boolean) before it is bound, and raises that conversion's error; a
        // null stays null. The column the value lands in converts it once more to its own type.
        void setValue(Value value);
        void declare(ValueType type);
        std::optional<ValueType> declaredType() const { return declared_; }

    private:
        friend class Statement;
        explicit Parameter(std::string name) : name_(std::move(name)) {}
        std::string name_;
        Value value_;
        std::optional<ValueType> declared_;
    };

    Statement(Connection& connection, std::string componentName);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& name() const { return name_; }
    Connection& connection() const { return connection_; }
    const std::string& sql() const { return sql_; }
    void setSql(std::string text); // finds the parameters; forgets the prepared form
    void setPrepared(bool prepared) { prepared_ = prepared; }
    bool prepared() const { return prepared_; }

    const std::vector<Parameter>& parameters() const { return parameters_; }
    Parameter& paramByName(std::string_view parameterName); // "Parameter '%s' not found"

    // Runs the text once with the parameters' values; gives the number of rows it changed.
    int execute();
    void close(); // releases the prepared form

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* s) const;
    };
    Connection& connection_;
    std::string name_;
    std::string sql_;
    bool prepared_ = false;
    std::vector<Parameter> parameters_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

// The parameter names of an SQL text, in the order they stand, each once; quoted texts and
// quoted names are passed over.
std::vector<std::string> parameterNames(std::string_view sql);

// The text as the engine runs it: an UPDATE's assigned columns without their table's name.
std::string engineText(std::string_view sql);

} // namespace store
