#pragma once

#include <QString>
#include <libpq-fe.h>

// The functions of the PostgreSQL client library, loaded when a database is first used rather
// than when the program starts: with the security libraries it brings, libpq took a third of
// every start of obrio, and most runs never open a database.
struct LibPq {
    decltype(&PQconnectdbParams) connectdbParams;
    decltype(&PQconnectionNeedsPassword) connectionNeedsPassword;
    decltype(&PQstatus) status;
    decltype(&PQerrorMessage) errorMessage;
    decltype(&PQsetNoticeProcessor) setNoticeProcessor;
    decltype(&PQfinish) finish;
    decltype(&PQexecParams) execParams;
    decltype(&PQresultStatus) resultStatus;
    decltype(&PQresultErrorField) resultErrorField;
    decltype(&PQntuples) ntuples;
    decltype(&PQnfields) nfields;
    decltype(&PQgetisnull) getisnull;
    decltype(&PQgetvalue) getvalue;
    decltype(&PQclear) clear;
    decltype(&PQescapeIdentifier) escapeIdentifier;
    decltype(&PQfreemem) freemem;

    // The library, loaded on the first call and kept; null when it cannot be loaded, with the
    // reason in error.
    static const LibPq* load(QString& error);
};
