#ifndef EMPREINTE_H
#define EMPREINTE_H

#include "core/donnees.h"

#include <QHash>
#include <QString>
#include <QVector>

// A hash of the store items a window reads: when it has not changed since the last
// drawing, the window keeps its scene or model. Reading every field costs microseconds
// where a rebuild costs milliseconds.
class Empreinte final
{
public:
    Empreinte &operator<<(const QString &texte) { return melanger(qHash(texte)); }
    Empreinte &operator<<(int nombre) { return melanger(size_t(qHash(nombre))); }
    Empreinte &operator<<(bool vrai) { return melanger(vrai ? 0x51 : 0x7a); }

    template <typename T> Empreinte &operator<<(const QVector<T> &liste)
    {
        *this << int(liste.size());
        for (const T &element : liste)
            *this << element;
        return *this;
    }

    size_t valeur() const { return h; }

private:
    Empreinte &melanger(size_t v)
    {
        h ^= v + size_t(0x9e3779b97f4a7c15ULL) + (h << 6) + (h >> 2);
        return *this;
    }

    size_t h = 0;
};

Empreinte &operator<<(Empreinte &e, const PiloteSerie &p);
Empreinte &operator<<(Empreinte &e, const GroupeSerie &g);
Empreinte &operator<<(Empreinte &e, const EpreuveSeries &s);
Empreinte &operator<<(Empreinte &e, const LigneCoupe &l);
Empreinte &operator<<(Empreinte &e, const LigneEpreuve &l);

#endif
