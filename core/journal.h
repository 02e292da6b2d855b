#ifndef JOURNAL_H
#define JOURNAL_H

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// A recording of datagrams, one per line, that the simulator's --replay plays back.
//
// A journal starts with the header line below, then holds one line per datagram, in which
// a backslash, a line feed, a carriage return and a zero byte are written as the two
// characters \\, \n, \r and \0, every other byte as it is. A file that does not start with
// that line is an older recording: its lines are the datagrams themselves, backslashes
// included.
//
// The header line, "#vellorcup-journal 2" without its line end. A function rather than a
// global: globals of other files may need it before a global of this one would exist.
QByteArray enteteJournal();

// The line of one datagram, without its line end.
QByteArray ligneJournal(const QByteArray &datagramme);

// The datagram of one line, escapes decoded when echappe. A backslash followed by anything
// else, or ending the line, stays as it is, so any line decodes.
QByteArray datagrammeJournal(const QByteArray &ligne, bool echappe);

// The datagrams of a whole file, journal or older recording: "\r\n" counts as "\n", an
// empty line is an empty datagram, and the file's last line end adds none.
QList<QByteArray> lireJournal(const QByteArray &contenu);

// Writes a journal, one line per datagram, each handed to the system as soon as it is
// added: a crash of the program loses none of them.
class Journal final
{
public:
    enum class Mode {
        Ajout,       // keeps the datagrams of an existing journal and adds after them
        Remplacement // starts the file over, whatever it held
    };

    Journal() = default;
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // Opens the file, writing the header line when it starts empty. In Ajout mode a
    // non-empty file that is not a journal is refused and left untouched: escaped lines
    // after raw ones would make it unreadable. On failure the French message goes to
    // erreur (when given) and to erreur().
    bool ouvrir(const QString &chemin, QString *erreur = nullptr, Mode mode = Mode::Ajout);

    // Adds one datagram. On failure (disk full...) the file is put back as it was, so the
    // next datagrams stay readable, and erreur() says why.
    bool ajouter(const QByteArray &datagramme);

    void fermer();
    bool estOuvert() const { return fichier.isOpen(); }
    // The last failure of ouvrir or ajouter, until the next successful ouvrir.
    QString erreur() const { return derniereErreur; }

private:
    bool echouer(const QString &message, QString *erreur);
    bool ecrire(const QByteArray &octets);

    QFile fichier;
    QString derniereErreur;
};

#endif
