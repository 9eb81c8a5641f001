#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace cli {

struct Command;

// The parsed command line of one command: its options by name (without the dashes) and its
// positional arguments. The parser has checked every value against its declaration, so the
// number accessors only convert.
class Arguments {
public:
    explicit Arguments(const Command& command);

    bool has(const QString& option) const;
    // The option's value; `fallback` when it was not given.
    QString text(const QString& option, const QString& fallback = QString()) const;
    // Every value of a repeatable option, in the order given.
    QStringList texts(const QString& option) const;
    qint64 integer(const QString& option, qint64 fallback) const;
    double decimal(const QString& option, double fallback) const;

    const QStringList& positionals() const { return words; }
    QString positional(int index) const { return words.value(index); }

    const Command& command() const { return *declaration; }
    // A usage error of this command: "obrio: TEXT (see obrio TOOL ACTION --help)"; returns UsageError.
    int usageError(const QString& text) const;

    void addValue(const QString& option, const QString& value);
    void addPositional(const QString& word) { words.append(word); }

private:
    const Command* declaration;
    QMap<QString, QStringList> values;
    QStringList words;
};

} // namespace cli
