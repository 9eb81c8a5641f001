#include "cli/JsonOutput.h"

#include "cli/CliArguments.h"

#include <QJsonDocument>
#include <cstdio>

namespace JsonOutput {

cli::Option option()
{
    return cli::flag("json",
                     QStringLiteral("print one JSON document instead of the text (fields in the README)"));
}

bool wanted(const cli::Arguments& arguments)
{
    return arguments.has(QStringLiteral("json"));
}

void print(const QJsonObject& document)
{
    const QByteArray text = QJsonDocument(document).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

QJsonValue numberShown(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

} // namespace JsonOutput
