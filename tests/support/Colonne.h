#pragma once
// The columns of a data table at once: colonne<QString, bool>("nome", "attivo").
#include <QTest>

namespace quirdal::test {

template <typename... T, typename... N>
void colonne(N... nomi)
{
    static_assert(sizeof...(T) == sizeof...(N), "one name for each type");
    (QTest::addColumn<T>(nomi), ...);
}

} // namespace quirdal::test
