#include "core/trame.h"

#include "core/donnees.h"

#include <QDebug>
#include <QLatin1String>
#include <QSet>
#include <QString>
#include <QVector>

#include <utility>

namespace
{

// Views into the datagram text: fields are only copied when the store keeps them. Both
// views split without copying the text and read numbers without allocating; Qt 5's
// QStringView has no toInt, so Qt 5 keeps QStringRef.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using Vue = QStringView;
Vue sousTexte(const QString &texte, int debut, int longueur = -1)
{
    return QStringView(texte).mid(debut, longueur);
}
int position(const QString &texte, Vue vue)
{
    return int(vue.data() - texte.constData());
}
#else
using Vue = QStringRef;
Vue sousTexte(const QString &texte, int debut, int longueur = -1)
{
    return texte.midRef(debut, longueur);
}
int position(const QString &, const Vue &vue)
{
    return vue.position();
}
#endif
using Champs = QVector<Vue>;

const QLatin1String debutFermeture("</");

// Fills champs with the fields of a block and tells whether the block is there at all.
bool extraireBloc(const QString &texte, QLatin1String ouverture, QLatin1String fermeture,
                  Champs &champs)
{
    const int debut = texte.indexOf(ouverture);
    const int fin = texte.indexOf(fermeture);
    if (debut < 0 || fin < 0)
        return false;
    // The sender writes one separator after the opening tag; it is skipped unread.
    const int premier = debut + ouverture.size() + 1;
    const Vue contenu =
        fin < debut ? sousTexte(texte, premier) : sousTexte(texte, premier, qMax(0, fin - premier));
    champs = contenu.split(QLatin1Char(';'));
    if (champs.isEmpty()) // past the end of the text: still one empty field
        champs.append(Vue());
    return true;
}

bool booleen(const Vue &champ)
{
    return champ.toInt() != 0;
}

void lireEpreuve(const Champs &c)
{
    const int n = c.size();
    lignesEpreuve.clear();
    lignesEpreuve.reserve(qMax(0, (n - 6) / 11));
    // Six leading fields nobody reads, then rows of 11; a row cut short by the end of the
    // block is dropped. A trailing empty field is no row.
    for (int s = 6; s + 11 <= n; s += 11) {
        LigneEpreuve ligne;
        ligne.nom1 = c[s].toString();
        ligne.nom2 = c[s + 1].toString();
        ligne.numero = c[s + 2].toString();
        ligne.total = c[s + 3].toString();
        ligne.drapeauNumero = c[s + 4].toString();
        ligne.touchAndGo = c[s + 5].toString();
        ligne.baguettes = c[s + 6].toString();
        ligne.pylones = c[s + 7].toString();
        ligne.banderoles = c[s + 8].toString();
        ligne.limbo = c[s + 9].toString();
        ligne.looping = c[s + 10].toString();
        lignesEpreuve.append(std::move(ligne));
    }
}

// The closing tag of a group may stand anywhere in the datagram. It normally follows the
// group closely, so look there first; and remember the tags found, so that a frame that
// repeats one tag does not cost a scan of the whole text per group.
bool fermetureExiste(const QString &texte, const Vue &balise, QSet<QString> &trouvees)
{
    QString fermeture = balise.toString();
    fermeture.replace(QLatin1Char('<'), debutFermeture);
    if (trouvees.contains(fermeture))
        return true;
    if (texte.indexOf(fermeture, position(texte, balise)) < 0 && texte.indexOf(fermeture) < 0)
        return false;
    trouvees.insert(fermeture);
    return true;
}

// Returns the slot filled, -1 when none.
int lireSeries(const QString &texte, const Champs &c)
{
    const int n = c.size();
    if (n > 4) {
        indexEpreuveSeries = c[0].toInt();
        indexSerieCourante = c[1].toInt();
        serieDrapeau = booleen(c[2]);
        tempsEcoule = c[3].left(8).toString();
        tempsRestant = c[4].left(8).toString();
    }

    QVector<GroupeSerie> groupes;
    QSet<QString> fermetures;
    int creneau = 0;
    // Fields between groups that open none are stepped over by the ++i, as is the closing
    // field of a group just read.
    for (int i = 5; i < n; ++i) {
        if (!c[i].startsWith(QLatin1Char('<')))
            continue;
        if (!fermetureExiste(texte, c[i], fermetures)) {
            qDebug() << "erreur";
            break;
        }
        if (i + 2 >= n) // header cut by the end of the block
            break;
        creneau = c[i + 1].toInt();
        GroupeSerie groupe;
        groupe.avecResultats = booleen(c[i + 2]);
        i += 3;
        while (i < n && !c[i].startsWith(debutFermeture) && n - i >= 6) {
            PiloteSerie pilote;
            pilote.numero = c[i].toInt();
            pilote.nom1 = c[i + 1].toString();
            pilote.nom2 = c[i + 2].toString();
            pilote.club = c[i + 3].toString();
            pilote.points = c[i + 4].toInt();
            pilote.reussi = booleen(c[i + 5]);
            groupe.pilotes.append(std::move(pilote));
            i += 6;
        }
        groupes.append(std::move(groupe));
        // A block that ends inside the group (no closing field, or a pilot cut short)
        // keeps the pilots read so far and ends there.
        if (i >= n || !c[i].startsWith(debutFermeture))
            break;
    }

    // The last group names the slot; a slot out of range is left alone.
    if (creneau < 0 || creneau >= nombreEpreuves || creneau >= epreuvesSeries.size())
        return -1;
    EpreuveSeries epreuve;
    epreuve.groupes = std::move(groupes);
    epreuvesSeries[creneau] = std::move(epreuve);
    return creneau;
}

void lireCoupe(const Champs &c)
{
    const int n = c.size();
    titreCoupe = c[0].toString();
    classementCoupe.clear();
    classementCoupe.reserve(qMax(0, (n - 1) / 5));
    // A row is read only when a field follows it: the sender ends the content with ';'.
    for (int s = 1; s + 5 < n; s += 5) {
        LigneCoupe ligne;
        ligne.numero = c[s].toInt();
        ligne.points = c[s + 1].toInt();
        ligne.rang = c[s + 2].toString();
        ligne.nom1 = c[s + 3].toString();
        ligne.nom2 = c[s + 4].toString();
        classementCoupe.append(std::move(ligne));
    }
}

} // namespace

void decoderTrame(const QByteArray &datagramme)
{
    decoderTrame(datagramme, nullptr);
}

void decoderTrame(const QByteArray &datagramme, BlocsLus *lus)
{
    BlocsLus blocs;
    const int zero = datagramme.indexOf('\0');
    const QString texte =
        QString::fromUtf8(datagramme.constData(), zero < 0 ? datagramme.size() : zero);

    Champs champs;
    if ((blocs.epreuve =
             extraireBloc(texte, QLatin1String("<EPREUVE>"), QLatin1String("</EPREUVE>"), champs)))
        lireEpreuve(champs);
    if ((blocs.series =
             extraireBloc(texte, QLatin1String("<SERIES>"), QLatin1String("</SERIES>"), champs)))
        blocs.creneau = lireSeries(texte, champs);
    if ((blocs.coupe =
             extraireBloc(texte, QLatin1String("<COUPE>"), QLatin1String("</COUPE>"), champs)))
        lireCoupe(champs);
    if (lus)
        *lus = blocs;
}
