#include "core/empreinte.h"

// Every field of each record, so that no change a window could show is missed.

Empreinte &operator<<(Empreinte &e, const PiloteSerie &p)
{
    return e << p.numero << p.points << p.club << p.nom1 << p.nom2 << p.reussi;
}

Empreinte &operator<<(Empreinte &e, const GroupeSerie &g)
{
    return e << g.avecResultats << g.pilotes;
}

Empreinte &operator<<(Empreinte &e, const EpreuveSeries &s)
{
    return e << s.groupes;
}

Empreinte &operator<<(Empreinte &e, const LigneCoupe &l)
{
    return e << l.points << l.numero << l.rang << l.nom1 << l.nom2;
}

Empreinte &operator<<(Empreinte &e, const LigneEpreuve &l)
{
    return e << l.baguettes << l.numero << l.banderoles << l.drapeauNumero << l.looping << l.limbo
             << l.nom1 << l.nom2 << l.pylones << l.total << l.touchAndGo;
}
