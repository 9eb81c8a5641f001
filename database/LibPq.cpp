#include "database/LibPq.h"

#include <QLibrary>
#include <type_traits>

namespace {

// Loads libpq.so.5 and fills functions; the reason for a failure in error.
bool bind(LibPq& functions, QString& error)
{
    static QLibrary library(QStringLiteral("libpq.so.5"));
    if (!library.load()) {
        error = library.errorString();
        return false;
    }
    bool complete = true;
    const auto resolve = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
        if (!function && complete) {
            complete = false;
            error = QStringLiteral("%1 is missing from %2").arg(QLatin1String(name), library.fileName());
        }
    };
    resolve(functions.connectdbParams, "PQconnectdbParams");
    resolve(functions.connectionNeedsPassword, "PQconnectionNeedsPassword");
    resolve(functions.status, "PQstatus");
    resolve(functions.errorMessage, "PQerrorMessage");
    resolve(functions.setNoticeProcessor, "PQsetNoticeProcessor");
    resolve(functions.finish, "PQfinish");
    resolve(functions.execParams, "PQexecParams");
    resolve(functions.resultStatus, "PQresultStatus");
    resolve(functions.resultErrorField, "PQresultErrorField");
    resolve(functions.ntuples, "PQntuples");
    resolve(functions.nfields, "PQnfields");
    resolve(functions.getisnull, "PQgetisnull");
    resolve(functions.getvalue, "PQgetvalue");
    resolve(functions.clear, "PQclear");
    resolve(functions.escapeIdentifier, "PQescapeIdentifier");
    resolve(functions.freemem, "PQfreemem");
    return complete;
}

} // namespace

const LibPq* LibPq::load(QString& error)
{
    static LibPq functions;
    static QString failure;
    static const bool loaded = bind(functions, failure);
    if (!loaded)
        error = QStringLiteral("the PostgreSQL client library could not be loaded: %1").arg(failure);
    return loaded ? &functions : nullptr;
}
