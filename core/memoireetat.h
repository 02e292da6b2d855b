#ifndef MEMOIREETAT_H
#define MEMOIREETAT_H

#include "core/donnees.h"
#include "core/trame.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class QTimer;

// The contest as it last stood, kept on disk so that a restarted station shows it at once:
// the last datagram that changed each part of the store (the scoreboard, the cup, each
// event slot's series, the series header), which the same decoder passes through again, in
// their order, to rebuild the store exactly.
//
// The file: the line "#vellorcup-etat 1", the time it was written (ISO 8601), one journal
// line per datagram, then "#fin " and the SHA-1 of everything before it, in hexadecimal.
class MemoireEtat final : public QObject
{
    Q_OBJECT

public:
    // Written at most every `periodeMs`, atomically.
    explicit MemoireEtat(const QString &chemin, QObject *parent = nullptr,
                         int periodeMs = periodeParDefautMs);
    static constexpr int periodeParDefautMs = 2000;
    // What waits for the period is written on a normal end.
    ~MemoireEtat() override;

    void retenir(const QByteArray &datagramme, const BlocsLus &lus);
    // The datagrams kept, in their order of arrival.
    QList<QByteArray> datagrammes() const;

    // The file's content, written at `quand`.
    QByteArray contenu(const QDateTime &quand) const;
    // The datagrams of a file's content and when it was written; false when it is cut,
    // altered or of another version.
    static bool lire(const QByteArray &contenu, QList<QByteArray> *datagrammes, QDateTime *quand);

    // Reads the file and decodes what it keeps into the store. A file that cannot be read
    // is set aside under another name, said in `erreur`, and the store stays as it is.
    // Returns when the state was written; invalid when nothing was taken back.
    QDateTime reprendre(QString *erreur);

    // Now, not waiting for the period. False, with a debug line, when the file cannot be written.
    bool ecrire();

private:
    struct Retenu {
        quint64 ordre = 0; // 0: nothing kept
        QByteArray datagramme;
    };
    void garder(Retenu &place, const QByteArray &datagramme);

    QString chemin;
    QTimer *minuterie;
    quint64 compteur = 0;
    Retenu epreuve, coupe, enTeteSeries, series[nombreEpreuves];
};

#endif
