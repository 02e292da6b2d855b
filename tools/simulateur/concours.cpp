#include "tools/simulateur/concours.h"

#include "tools/simulateur/trames.h"

#include <QRandomGenerator>
#include <QSet>

#include <algorithm>

namespace
{

const int dureeAttente = 20;
const int dureeResultats = 15;
const int dureeResultatsDerniereSerie = 30; // time to read the event's classification
const int dureeFin = 60;
const int pilotesParSerie = 7;

const char *const prenoms[] = {
    "Julie",   "Thomas",  "Camille", "Nicolas",   "Élodie",   "Antoine",  "Sophie",   "Julien",
    "Claire",  "Mathieu", "Aurélie", "Pierre",    "Isabelle", "Laurent",  "Nathalie", "François",
    "Céline",  "Olivier", "Émilie",  "Sébastien", "Hélène",   "Jérôme",   "Marion",   "Guillaume",
    "Chloé",   "Benoît",  "Lucie",   "Stéphane",  "Manon",    "Frédéric", "Léa",      "Damien",
    "Pauline", "Xavier",  "Margaux", "Hugo",      "Anaïs",    "Romain",   "Agathe",   "Bastien",
    "Inès",    "Cédric",  "Noémie",  "Raphaël",   "Solène",   "Gaëtan",   "Maëlle",   "Loïc"};

const char *const noms[] = {
    "Martin",    "Bernard", "Dubois",    "Robert",      "Richard",  "Petit",     "Durand",
    "Leroy",     "Moreau",  "Simon",     "Lefèbvre",    "Michel",   "Garcia",    "Bertrand",
    "Roux",      "Vincent", "Fournier",  "Morel",       "Girard",   "André",     "Lefèvre",
    "Mercier",   "Dupont",  "Lambert",   "Bonnet",      "Legrand",  "Garnier",   "Faure",
    "Rousseau",  "Blanc",   "Guérin",    "Muller",      "Henry",    "Roussel",   "Perrin",
    "Morin",     "Clément", "Gauthier",  "Dumont",      "Fontaine", "Chevalier", "Robin",
    "Masson",    "Gérard",  "Boyer",     "Denis",       "Lemaire",  "Duval",     "Joly",
    "Roche",     "Noël",    "Meyer",     "Meunier",     "Marchand", "Dufour",    "Blanchard",
    "Barbier",   "Brun",    "Dumas",     "Brunet",      "Schmitt",  "Leroux",    "Colin",
    "Renard",    "Arnaud",  "Caron",     "Aubert",      "Giraud",   "Leclerc",   "Vidal",
    "Bourgeois", "Renaud",  "Lemoine",   "Picard",      "Gaillard", "Lacroix",   "Fabre",
    "Dupuis",    "Hubert",  "Rivière",   "Le Gall",     "Moulin",   "Berger",    "Lecomte",
    "Ménard",    "Fleury",  "Deschamps", "Carpentier",  "Maillard", "Aubry",     "Vasseur",
    "Le Roux",   "Prévost", "Poirier",   "Charpentier", "Huet",     "Baron",     "Carré",
    "Breton",    "Rémy",    "Guyot",     "Barré",       "Cousin",   "Da Silva"};

const char *const clubs[] = {"Aéroclub de Vellor",           "Les Ailes du Berry",
                             "Aéroclub du Val de Loire",     "Ailes Bourbonnaises",
                             "Aéroclub de Sologne",          "Cercle aérien de Bourges",
                             "Les Faucons de Vierzon",       "Aéroclub Châteauroux-Déols",
                             "ULM Club des Trois Provinces", "Les Libellules du Cher"};

const char *const epreuves[] = {"Jugement esthétique", "Cassé de baguettes", "Pylône racing",
                                "Chasse au renard", "Limbo"};

const int dureesVol[] = {120, 90, 105, 100, 110};

template <typename T, int N> int taille(T (&)[N])
{
    return N;
}

// Successes in a number of tries, each succeeding with the pilot's skill in percent.
int essais(QRandomGenerator &hasard, int nombre, int habilete)
{
    int reussis = 0;
    for (int i = 0; i < nombre; ++i)
        reussis += int(hasard.bounded(100) < habilete);
    return reussis;
}

template <typename T> void melanger(QVector<T> &v, QRandomGenerator &hasard)
{
    for (int i = v.size() - 1; i > 0; --i)
        std::swap(v[i], v[hasard.bounded(i + 1)]);
}

} // namespace

ConcoursDemo::ConcoursDemo(quint32 graine, int nombrePilotes)
{
    const int n = qBound(1, nombrePilotes, pilotesMax);
    QRandomGenerator hasard(graine);

    QVector<int> numeros;
    for (int i = 1; i <= qMax(99, 2 * n); ++i)
        numeros.append(i);
    melanger(numeros, hasard);

    QSet<QString> dejaPris;
    QVector<int> habiletes;
    for (int i = 0; i < n; ++i) {
        Pilote p;
        p.numero = numeros[i];
        do {
            p.nom1 = QString::fromUtf8(noms[hasard.bounded(taille(noms))]).toUpper();
            p.nom2 = QString::fromUtf8(prenoms[hasard.bounded(taille(prenoms))]);
        } while (dejaPris.contains(p.nom1 + QLatin1Char(' ') + p.nom2));
        dejaPris.insert(p.nom1 + QLatin1Char(' ') + p.nom2);
        p.club = QString::fromUtf8(clubs[hasard.bounded(taille(clubs))]);
        m_pilotes.append(p);
        habiletes.append(40 + hasard.bounded(56));
    }

    // The same series for every event, as even as possible.
    QVector<int> ordre;
    for (int i = 0; i < n; ++i)
        ordre.append(i);
    melanger(ordre, hasard);
    const int nombre = (n + pilotesParSerie - 1) / pilotesParSerie;
    m_serieDe.resize(n);
    for (int s = 0, debut = 0; s < nombre; ++s) {
        const int effectif = n / nombre + (s < n % nombre ? 1 : 0);
        m_series.append(ordre.mid(debut, effectif));
        for (int p : m_series.last())
            m_serieDe[p] = s;
        debut += effectif;
    }

    // Scores come in steps of 5 or more, so that ties, and ex aequo ranks, do happen.
    m_resultats.resize(nombreEpreuves);
    for (int e = 0; e < nombreEpreuves; ++e) {
        for (int p = 0; p < n; ++p) {
            const int h = habiletes[p];
            Resultat r;
            if (e == 0) {
                r.score = 40 + 5 * essais(hasard, 12, h);
                r.points = r.score;
                r.reussi = r.score >= 60;
            } else {
                r.touchAndGo = 5 * essais(hasard, 4, h);
                switch (e) {
                case 1:
                    r.score = 20 * essais(hasard, 5, h);
                    break;
                case 2:
                    r.score = 10 * essais(hasard, 10, h);
                    break;
                case 3:
                    r.score = 25 * essais(hasard, 4, h);
                    break;
                default:
                    r.score = 20 * essais(hasard, 3, h);
                    r.looping = 10 * essais(hasard, 4, h);
                }
                r.points = r.touchAndGo + r.score + r.looping;
                r.reussi = r.score > 0;
            }
            m_resultats[e].append(r);
        }
    }

    int debut = 0;
    for (int e = 0; e < nombreEpreuves; ++e) {
        for (int s = 0; s < nombreSeries(); ++s) {
            for (Phase phase : {Phase::Attente, Phase::Vol, Phase::Resultats}) {
                m_segments.append({debut, {e, s, phase, 0}});
                debut += dureePhase(e, s, phase);
            }
        }
    }
    m_segments.append({debut, {nombreEpreuves - 1, nombreSeries() - 1, Phase::Fin, 0}});
    m_dureeCycle = debut + dureeFin;
    avancer(0);
}

QString ConcoursDemo::nomEpreuve(int epreuve)
{
    if (epreuve < 0 || epreuve >= nombreEpreuves)
        return QString();
    return QString::fromUtf8(epreuves[epreuve]);
}

int ConcoursDemo::dureeVol(int epreuve)
{
    return dureesVol[qBound(0, epreuve, nombreEpreuves - 1)];
}

int ConcoursDemo::dureePhase(int epreuve, int serie, Phase phase) const
{
    switch (phase) {
    case Phase::Attente:
        return dureeAttente;
    case Phase::Vol:
        return dureeVol(epreuve);
    case Phase::Resultats:
        return serie == nombreSeries() - 1 ? dureeResultatsDerniereSerie : dureeResultats;
    case Phase::Fin:
        break;
    }
    return dureeFin;
}

void ConcoursDemo::avancer(int secondes)
{
    const qint64 t = (qint64(m_temps) + secondes) % m_dureeCycle;
    m_temps = int(t < 0 ? t + m_dureeCycle : t);
    const auto apres =
        std::upper_bound(m_segments.cbegin(), m_segments.cend(), m_temps,
                         [](int temps, const Segment &segment) { return temps < segment.debut; });
    const Segment &segment = *(apres - 1);
    m_moment = segment.moment;
    m_moment.seconde = m_temps - segment.debut;
}

void ConcoursDemo::allerA(int epreuve, int serie, Phase phase, int seconde)
{
    int i = m_segments.size() - 1;
    if (phase != Phase::Fin) {
        epreuve = qBound(0, epreuve, nombreEpreuves - 1);
        serie = qBound(0, serie, nombreSeries() - 1);
        i = (epreuve * nombreSeries() + serie) * 3 + (phase == Phase::Attente ? 0
                                                      : phase == Phase::Vol   ? 1
                                                                              : 2);
    }
    const Moment &m = m_segments[i].moment;
    seconde = qBound(0, seconde, dureePhase(m.epreuve, m.serie, m.phase) - 1);
    m_temps = m_segments[i].debut;
    avancer(seconde);
}

Moment ConcoursDemo::moment() const
{
    return m_moment;
}

bool ConcoursDemo::resultatsConnus(int epreuve, int serie) const
{
    const Moment &m = m_moment;
    if (m.phase == Phase::Fin || epreuve < m.epreuve)
        return true;
    if (epreuve > m.epreuve)
        return false;
    return serie < m.serie || (serie == m.serie && m.phase == Phase::Resultats);
}

QVector<GroupeSerie> ConcoursDemo::groupes() const
{
    const int e = m_moment.epreuve;
    QVector<GroupeSerie> liste;
    for (int s = 0; s < nombreSeries(); ++s) {
        GroupeSerie groupe;
        groupe.avecResultats = resultatsConnus(e, s);
        for (int p : m_series[s]) {
            const Pilote &pilote = m_pilotes[p];
            PiloteSerie ps;
            ps.numero = pilote.numero;
            ps.nom1 = pilote.nom1;
            ps.nom2 = pilote.nom2;
            ps.club = pilote.club;
            if (groupe.avecResultats) {
                ps.points = m_resultats[e][p].points;
                ps.reussi = m_resultats[e][p].reussi;
            }
            groupe.pilotes.append(ps);
        }
        liste.append(groupe);
    }
    return liste;
}

bool ConcoursDemo::drapeau() const
{
    return m_moment.phase == Phase::Vol;
}

QString ConcoursDemo::ecoule() const
{
    switch (m_moment.phase) {
    case Phase::Attente:
        return chrono(0);
    case Phase::Vol:
        return chrono(m_moment.seconde);
    default:
        return chrono(dureeVol(m_moment.epreuve));
    }
}

QString ConcoursDemo::restant() const
{
    switch (m_moment.phase) {
    case Phase::Attente:
        return chrono(dureeVol(m_moment.epreuve));
    case Phase::Vol:
        return chrono(dureeVol(m_moment.epreuve) - m_moment.seconde);
    default:
        return chrono(0);
    }
}

QStringList ConcoursDemo::enteteTableau() const
{
    const int e = m_moment.epreuve;
    const int lignes = e == 0 ? 0 : qMin(nombrePilotes(), int(lignesTableau));
    return {QString::number(e),
            nomEpreuve(e),
            QString::number(m_moment.serie + 1),
            QString::number(nombreSeries()),
            QString::number(nombrePilotes()),
            QString::number(lignes)};
}

QVector<LigneEpreuve> ConcoursDemo::tableau() const
{
    // Slot 0 is judged, not flown: it has no scoreboard.
    const int e = m_moment.epreuve;
    if (e == 0)
        return {};

    struct Entree {
        int pilote;
        bool vole;
        Resultat r;
    };
    QVector<Entree> entrees;
    for (int p = 0; p < nombrePilotes(); ++p) {
        const bool vole = resultatsConnus(e, serieDe(p));
        entrees.append({p, vole, vole ? m_resultats[e][p] : Resultat()});
    }
    std::sort(entrees.begin(), entrees.end(), [this](const Entree &a, const Entree &b) {
        const Pilote &pa = m_pilotes[a.pilote];
        const Pilote &pb = m_pilotes[b.pilote];
        if (a.r.points != b.r.points)
            return a.r.points > b.r.points;
        if (pa.nom1 != pb.nom1)
            return pa.nom1 < pb.nom1;
        return pa.nom2 < pb.nom2;
    });
    entrees.resize(qMin(entrees.size(), int(lignesTableau)));

    const QString zero(QLatin1Char('0'));
    QVector<LigneEpreuve> lignes;
    for (const Entree &entree : entrees) {
        const Pilote &p = m_pilotes[entree.pilote];
        const QString score = QString::number(entree.r.score);
        LigneEpreuve l;
        l.nom1 = p.nom1;
        l.nom2 = p.nom2;
        l.numero = QString::number(p.numero);
        l.total = QString::number(entree.r.points);
        l.drapeauNumero = entree.vole ? QStringLiteral("1") : zero;
        l.touchAndGo = QString::number(entree.r.touchAndGo);
        l.baguettes = e == 1 ? score : zero;
        l.pylones = e == 2 ? score : zero;
        l.banderoles = e == 3 ? score : zero;
        l.limbo = e == 4 ? score : zero;
        l.looping = e == 4 ? QString::number(entree.r.looping) : zero;
        lignes.append(l);
    }
    return lignes;
}

QString ConcoursDemo::titreCoupe() const
{
    return m_moment.phase == Phase::Fin
               ? QStringLiteral("Vellor's Cup 2026 - Classement final")
               : QString::fromUtf8("Vellor's Cup 2026 - Classement général");
}

QVector<LigneCoupe> ConcoursDemo::classement() const
{
    QVector<LigneCoupe> lignes;
    for (int p = 0; p < nombrePilotes(); ++p) {
        LigneCoupe l;
        l.numero = m_pilotes[p].numero;
        l.nom1 = m_pilotes[p].nom1;
        l.nom2 = m_pilotes[p].nom2;
        for (int e = 0; e < nombreEpreuves; ++e)
            if (resultatsConnus(e, serieDe(p)))
                l.points += m_resultats[e][p].points;
        lignes.append(l);
    }
    std::sort(lignes.begin(), lignes.end(), [](const LigneCoupe &a, const LigneCoupe &b) {
        if (a.points != b.points)
            return a.points > b.points;
        if (a.nom1 != b.nom1)
            return a.nom1 < b.nom1;
        return a.nom2 < b.nom2;
    });
    QVector<int> points;
    for (const LigneCoupe &l : lignes)
        points.append(l.points);
    const QStringList r = rangs(points);
    for (int i = 0; i < lignes.size(); ++i)
        lignes[i].rang = r[i];
    return lignes;
}

QByteArray ConcoursDemo::trame() const
{
    const int e = m_moment.epreuve;
    return trameEpreuve(tableau(), enteteTableau()) +
           trameSeries(e, m_moment.serie, drapeau(), ecoule(), restant(), e, groupes()) +
           trameCoupe(titreCoupe(), classement());
}

QString chrono(int secondes)
{
    secondes = qMax(0, secondes);
    return QStringLiteral("%1:%2")
        .arg(secondes / 60, 2, 10, QLatin1Char('0'))
        .arg(secondes % 60, 2, 10, QLatin1Char('0'));
}

QStringList rangs(const QVector<int> &pointsTries)
{
    QStringList liste;
    int rang = 1;
    for (int i = 0; i < pointsTries.size(); ++i) {
        const bool commeAvant = i > 0 && pointsTries[i] == pointsTries[i - 1];
        if (!commeAvant)
            rang = i + 1;
        const bool exAequo =
            commeAvant || (i + 1 < pointsTries.size() && pointsTries[i] == pointsTries[i + 1]);
        liste.append(exAequo ? QStringLiteral("%1 ex aequo").arg(rang) : QString::number(rang));
    }
    return liste;
}
