#ifndef COLONNES_H
#define COLONNES_H

#include <QtTest>

#include <array>

// The columns of a test's data table, declared in order; what it returns adds a row.
//     const auto ligne = colonnes<int, QString>({"n", "texte"});
//     ligne("trois", 3, "trois");
template <class... T> auto colonnes(const std::array<const char *, sizeof...(T)> &noms)
{
    int colonne = 0;
    (QTest::addColumn<T>(noms[colonne++]), ...);
    return [](const char *nom, const T &...valeurs) { (QTest::newRow(nom) << ... << valeurs); };
}

#endif
