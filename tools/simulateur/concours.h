#ifndef CONCOURS_H
#define CONCOURS_H

#include "core/donnees.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A demo contest, played second by second: the five events in slot order, each flown in
// the same series of pilots. Every series is announced (Attente), flown with running
// chronometers (Vol) and closed with its results (Resultats); after the last series of the
// last event the final classification stays up (Fin), then the contest starts over.
// Everything is drawn once from the seed, so a seed and a pilot count give the same contest
// on every machine.

enum class Phase { Attente, Vol, Resultats, Fin };

struct Moment {
    int epreuve = 0;
    int serie = 0;
    Phase phase = Phase::Attente;
    int seconde = 0; // since the phase began
};

// The sender's convention: nom1 is the family name in capitals, nom2 the first name.
struct Pilote {
    int numero = 0;
    QString nom1;
    QString nom2;
    QString club;
};

class ConcoursDemo final
{
public:
    static constexpr quint32 graineParDefaut = 2026;
    static constexpr int pilotesParDefaut = 24;
    static constexpr int pilotesMax = 400;   // the largest frame stays well under one datagram
    static constexpr int lignesTableau = 12; // scoreboard rows sent (the station shows ten)

    explicit ConcoursDemo(quint32 graine = graineParDefaut, int nombrePilotes = pilotesParDefaut);

    int nombrePilotes() const { return m_pilotes.size(); }
    int nombreSeries() const { return m_series.size(); }
    const QVector<Pilote> &pilotes() const { return m_pilotes; }
    // Indexes into pilotes(), series by series, in flying order.
    const QVector<QVector<int>> &series() const { return m_series; }

    static QString nomEpreuve(int epreuve);
    static int dureeVol(int epreuve);
    int dureePhase(int epreuve, int serie, Phase phase) const;
    int dureeCycle() const { return m_dureeCycle; }

    // Contest time in seconds since the start of the current cycle.
    int temps() const { return m_temps; }
    void avancer(int secondes);
    void allerA(int epreuve, int serie, Phase phase, int seconde = 0);
    Moment moment() const;

    // The contest as the station should hold it after trame().
    QVector<GroupeSerie> groupes() const;
    bool drapeau() const;
    QString ecoule() const;
    QString restant() const;
    QStringList enteteTableau() const;
    QVector<LigneEpreuve> tableau() const;
    QString titreCoupe() const;
    QVector<LigneCoupe> classement() const;

    // All three blocks: scoreboard, series, cup.
    QByteArray trame() const;

private:
    struct Resultat {
        int points = 0;
        bool reussi = false;
        int touchAndGo = 0;
        int score = 0;   // the event's own discipline
        int looping = 0; // limbo event only
    };
    struct Segment {
        int debut;
        Moment moment;
    };

    bool resultatsConnus(int epreuve, int serie) const;
    int serieDe(int pilote) const { return m_serieDe[pilote]; }

    QVector<Pilote> m_pilotes;
    QVector<QVector<int>> m_series;
    QVector<int> m_serieDe;
    QVector<QVector<Resultat>> m_resultats; // [epreuve][pilote]
    QVector<Segment> m_segments;
    int m_dureeCycle = 0;
    int m_temps = 0;
    Moment m_moment;
};

// "mm:ss"; minutes go past 59 rather than wrap.
QString chrono(int secondes);

// Ranks of a classification sorted from best to worst: equal points share the rank of the
// first of them, written "N ex aequo" ("1", "2 ex aequo", "2 ex aequo", "4").
QStringList rangs(const QVector<int> &pointsTries);

#endif
