#include "core/instantane.h"

#include "core/donnees.h"
#include "core/selection.h"

#include <algorithm>

namespace
{
// Written straight into one string: the document is rebuilt after every refresh, and
// going through QJsonObject cost more than the refresh itself with 200 pilots.
class Ecrivain
{
public:
    Ecrivain() { texte.reserve(128 * 1024); }

    Ecrivain &ouvrir(char c)
    {
        virgule();
        texte += c;
        premier = true;
        return *this;
    }
    Ecrivain &fermer(char c)
    {
        texte += c;
        premier = false;
        return *this;
    }
    Ecrivain &cle(const char *nom)
    {
        virgule();
        texte += '"';
        texte += nom;
        texte += "\":";
        premier = true; // the value follows without a comma
        return *this;
    }
    Ecrivain &valeur(const QString &chaine)
    {
        virgule();
        texte += '"';
        const auto aEchapper = [](QChar c) {
            // Control characters must be; the markup ones are, so that the document never
            // reads as markup.
            const ushort u = c.unicode();
            return u < 0x20 || u == '"' || u == '\\' || u == '<' || u == '>' || u == '&';
        };
        if (std::none_of(chaine.cbegin(), chaine.cend(), aEchapper)) {
            texte += chaine.toUtf8();
        } else {
            QString echappee;
            for (const QChar c : chaine) {
                if (!aEchapper(c))
                    echappee += c;
                else if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
                    echappee += QLatin1Char('\\') + c;
                else
                    echappee += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            }
            texte += echappee.toUtf8();
        }
        texte += '"';
        return *this;
    }
    Ecrivain &valeur(qint64 nombre)
    {
        virgule();
        texte += QByteArray::number(nombre);
        return *this;
    }
    Ecrivain &valeur(int nombre) { return valeur(qint64(nombre)); }
    Ecrivain &valeur(bool vrai)
    {
        virgule();
        texte += vrai ? "true" : "false";
        return *this;
    }
    template <typename T> Ecrivain &champ(const char *nom, const T &v)
    {
        cle(nom);
        return valeur(v);
    }

    QByteArray resultat() const { return texte; }

private:
    void virgule()
    {
        if (!premier)
            texte += ',';
        premier = false;
    }

    QByteArray texte;
    bool premier = true;
};

void nomme(Ecrivain &e, int numero, const QString &nom1, const QString &nom2)
{
    e.champ("numero", numero).champ("nom1", nom1).champ("nom2", nom2);
}

// The event's classification as the classification window ranks it, written as indices
// into the event's pilots taken series after series: their names are already written.
void classement(Ecrivain &e, const EpreuveSeries &epreuve)
{
    // A classification line does not say which pilot it comes from: in a copy, each pilot's
    // number becomes his index, a field the ranking leaves aside.
    EpreuveSeries indices = epreuve;
    int n = 0;
    for (GroupeSerie &groupe : indices.groupes)
        for (PiloteSerie &p : groupe.pilotes)
            p.numero = n++;
    QVector<LigneClassement> lignes;
    lignes.reserve(n);
    remplirClassement(lignes, indices);
    e.cle("classement").ouvrir('[');
    for (const LigneClassement &l : lignes)
        e.valeur(l.numero);
    e.fermer(']');
}

void epreuves(Ecrivain &e, const Cliche &c)
{
    // The event in flight has its classification in full in classementEpreuve.
    const EpreuveSeries *enCours = epreuveAffichee(c.indexEpreuveSeries, c.epreuvesSeries);
    e.cle("epreuves").ouvrir('[');
    for (int i = 0; i < nombreEpreuves; ++i) {
        e.ouvrir('{').champ("nom", listeNomsEpreuves().value(i)).cle("series").ouvrir('[');
        const EpreuveSeries *epreuve =
            i < c.epreuvesSeries.size() ? &c.epreuvesSeries.at(i) : nullptr;
        if (epreuve)
            for (const GroupeSerie &groupe : epreuve->groupes) {
                e.ouvrir('{').champ("avecResultats", groupe.avecResultats).cle("pilotes");
                e.ouvrir('[');
                for (const PiloteSerie &p : groupe.pilotes) {
                    e.ouvrir('{');
                    nomme(e, p.numero, p.nom1, p.nom2);
                    e.champ("points", p.points).champ("club", p.club).champ("reussi", p.reussi);
                    e.fermer('}');
                }
                e.fermer(']').fermer('}');
            }
        e.fermer(']');
        if (epreuve && epreuve != enCours && !epreuve->groupes.isEmpty())
            classement(e, *epreuve);
        e.fermer('}');
    }
    e.fermer(']');
}

void preparation(Ecrivain &e, const Cliche &c)
{
    const SeriePreparee choix =
        seriePreparee(c.indexEpreuveSeries, c.indexSerieCourante, c.serieDrapeau, c.epreuvesSeries);
    QVector<LignePreparation> lignes;
    if (choix.trouvee && choix.groupe)
        remplirPreparation(lignes, *choix.groupe);
    e.cle("preparation").ouvrir('{').champ("trouvee", choix.trouvee).champ("titre", choix.titre);
    e.cle("pilotes").ouvrir('[');
    for (const LignePreparation &l : lignes) {
        e.ouvrir('{');
        nomme(e, l.numero, l.nom1, l.nom2);
        e.champ("club", l.club).fermer('}');
    }
    e.fermer(']').fermer('}');
}

void classementEpreuve(Ecrivain &e, const Cliche &c)
{
    QVector<LigneClassement> lignes;
    if (const EpreuveSeries *epreuve = epreuveAffichee(c.indexEpreuveSeries, c.epreuvesSeries))
        remplirClassement(lignes, *epreuve);
    e.cle("classementEpreuve").ouvrir('[');
    for (const LigneClassement &l : lignes) {
        e.ouvrir('{');
        nomme(e, l.numero, l.nom1, l.nom2);
        e.champ("points", l.points).fermer('}');
    }
    e.fermer(']');
}

void classementDeLaCoupe(Ecrivain &e, const Cliche &c)
{
    e.cle("classementCoupe").ouvrir('[');
    for (const LigneCoupe &l : c.classementCoupe) {
        e.ouvrir('{').champ("rang", l.rang);
        nomme(e, l.numero, l.nom1, l.nom2);
        e.champ("points", l.points).fermer('}');
    }
    e.fermer(']');
}

void tableauEpreuve(Ecrivain &e, const Cliche &c)
{
    e.cle("tableauEpreuve").ouvrir('[');
    for (const LigneEpreuve &l : c.lignesEpreuve)
        e.ouvrir('{')
            .champ("numero", l.numero)
            .champ("nom1", l.nom1)
            .champ("nom2", l.nom2)
            .champ("baguettes", l.baguettes)
            .champ("banderoles", l.banderoles)
            .champ("drapeauNumero", l.drapeauNumero)
            .champ("looping", l.looping)
            .champ("limbo", l.limbo)
            .champ("pylones", l.pylones)
            .champ("touchAndGo", l.touchAndGo)
            .champ("total", l.total)
            .fermer('}');
    e.fermer(']');
}
} // namespace

Cliche Cliche::duMagasin()
{
    // The store's globals, not the members of the same names.
    return {
        ::titreCoupe,   ::indexEpreuveSeries, ::indexSerieCourante, ::serieDrapeau,  ::tempsEcoule,
        ::tempsRestant, ::epreuvesSeries,     ::classementCoupe,    ::lignesEpreuve, {}};
}

QByteArray etatJson(quint64 sequence, qint64 depuisTrameMs)
{
    return etatJson(Cliche::duMagasin(), sequence, depuisTrameMs);
}

QByteArray etatJson(const Cliche &c, quint64 sequence, qint64 depuisTrameMs)
{
    Ecrivain e;
    e.ouvrir('{')
        .champ("format", 1)
        .champ("sequence", qint64(sequence))
        .champ("depuisTrameMs", depuisTrameMs)
        .champ("titreCoupe", c.titreCoupe)
        .champ("epreuveEnCours", c.indexEpreuveSeries)
        .champ("serieCourante", c.indexSerieCourante)
        .champ("serieDrapeau", c.serieDrapeau)
        .champ("tempsEcoule", c.tempsEcoule)
        .champ("tempsRestant", c.tempsRestant);
    if (!c.reprise.isEmpty())
        e.champ("reprise", c.reprise);
    epreuves(e, c);
    preparation(e, c);
    classementEpreuve(e, c);
    classementDeLaCoupe(e, c);
    tableauEpreuve(e, c);
    e.fermer('}');
    return e.resultat();
}
