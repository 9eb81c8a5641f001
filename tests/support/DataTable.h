#pragma once

#include <QtTest>
#include <initializer_list>
#include <tuple>

namespace obrtest {

// The columns of a data table in one line: columns<int, QString>({"count", "text"}).
template <typename... Types> void columns(std::initializer_list<const char*> names)
{
    Q_ASSERT(names.size() == sizeof...(Types));
    const char* const* name = names.begin();
    (QTest::addColumn<Types>(*name++), ...);
}

// The current row's values of the named columns, checked against their types as QFETCH checks them:
// const auto [count, text] = fetch<int, QString>("count", "text");
template <typename... Types, typename... Names> std::tuple<Types...> fetch(Names... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column");
    return std::tuple<Types...>(*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...);
}

} // namespace obrtest
