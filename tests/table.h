#ifndef TABLE_H
#define TABLE_H

#include <QtTest>

#include <array>

// A test's data table: its columns declared in order, and what adds a row to it.
//     const auto ligne = table<int, QString>({"n", "texte"});
//     ligne("trois", 3, "trois");
template <class... T> auto table(const std::array<const char *, sizeof...(T)> &noms)
{
    int colonne = 0;
    (QTest::addColumn<T>(noms[colonne++]), ...);
    return [](const char *nom, const T &...valeurs) { (QTest::newRow(nom) << ... << valeurs); };
}

#endif
