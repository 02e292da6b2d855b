#include "core/journal.h"

#include <QDir>
#include <QFileInfo>

QByteArray enteteJournal()
{
    return QByteArrayLiteral("#vellorcup-journal 2");
}

namespace
{

QString nomAffiche(const QString &chemin)
{
    return QDir::toNativeSeparators(chemin);
}

// Whether the first bytes of a file of that size start with the header line; debut holds
// the header's length and two bytes more, enough to see its line end.
bool commenceParEntete(QByteArray debut, qint64 taille)
{
    const int fin = debut.indexOf('\n');
    if (fin >= 0)
        debut.truncate(fin);
    else if (taille > debut.size())
        return false; // a first line longer than the header
    if (debut.endsWith('\r'))
        debut.chop(1);
    return debut == enteteJournal();
}

// Qt's own reason is in English and says little about a missing folder: the usual causes
// get a French sentence.
QString raisonOuverture(const QFileInfo &info, const QFile &fichier)
{
    if (!info.absoluteDir().exists())
        return QString::fromUtf8("le dossier %1 n'existe pas").arg(nomAffiche(info.absolutePath()));
    if (info.exists() && !info.isWritable())
        return QString::fromUtf8("écriture interdite sur ce fichier");
    if (!info.exists() && !QFileInfo(info.absolutePath()).isWritable())
        return QString::fromUtf8("écriture interdite dans le dossier %1")
            .arg(nomAffiche(info.absolutePath()));
    return fichier.errorString();
}

} // namespace

QByteArray ligneJournal(const QByteArray &datagramme)
{
    QByteArray ligne;
    ligne.reserve(datagramme.size() + 16);
    for (const char c : datagramme) {
        switch (c) {
        case '\\':
            ligne += "\\\\";
            break;
        case '\n':
            ligne += "\\n";
            break;
        case '\r':
            ligne += "\\r";
            break;
        case '\0':
            ligne += "\\0";
            break;
        default:
            ligne += c;
        }
    }
    return ligne;
}

QByteArray datagrammeJournal(const QByteArray &ligne, bool echappe)
{
    if (!echappe || !ligne.contains('\\'))
        return ligne;
    QByteArray datagramme;
    datagramme.reserve(ligne.size());
    const char *const fin = ligne.constData() + ligne.size();
    for (const char *p = ligne.constData(); p < fin; ++p) {
        if (*p != '\\' || p + 1 == fin) {
            datagramme += *p;
            continue;
        }
        switch (p[1]) {
        case '\\':
            datagramme += '\\';
            break;
        case 'n':
            datagramme += '\n';
            break;
        case 'r':
            datagramme += '\r';
            break;
        case '0':
            datagramme += '\0';
            break;
        default:
            // Unknown: the backslash stays and the next byte is read as any other.
            datagramme += '\\';
            continue;
        }
        ++p;
    }
    return datagramme;
}

QList<QByteArray> lireJournal(const QByteArray &contenu)
{
    QList<QByteArray> lignes = contenu.split('\n');
    if (lignes.last().isEmpty())
        lignes.removeLast(); // the line end of the last line
    for (QByteArray &ligne : lignes)
        if (ligne.endsWith('\r'))
            ligne.chop(1);
    if (lignes.isEmpty() || lignes.first() != enteteJournal())
        return lignes;
    lignes.removeFirst();
    for (QByteArray &ligne : lignes)
        ligne = datagrammeJournal(ligne, true);
    return lignes;
}

bool Journal::ouvrir(const QString &chemin, QString *erreur, Mode mode)
{
    fermer();
    derniereErreur.clear();
    const QFileInfo info(chemin);
    const auto refuser = [&](const QString &raison) {
        return echouer(QString::fromUtf8("impossible d'ouvrir le journal %1 : %2")
                           .arg(nomAffiche(chemin), raison),
                       erreur);
    };
    if (info.isDir())
        return refuser(QString::fromUtf8("c'est un dossier"));

    // Unbuffered: every line goes to the system with its write, nothing waits in the program.
    fichier.setFileName(chemin);
    const QIODevice::OpenMode acces =
        mode == Mode::Ajout ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!fichier.open(acces | QIODevice::Unbuffered))
        return refuser(raisonOuverture(info, fichier));

    const qint64 taille = fichier.isSequential() ? 0 : fichier.size();
    if (taille == 0) {
        if (!ecrire(enteteJournal() + '\n'))
            return echouer(derniereErreur, erreur);
        return true;
    }
    if (!commenceParEntete(fichier.read(enteteJournal().size() + 2), taille))
        return refuser(
            QString::fromUtf8("ce fichier n'est pas un journal (sa première ligne n'est pas « %1 »)"
                              " ; y ajouter des trames le rendrait illisible, choisissez un autre "
                              "fichier")
                .arg(QString::fromLatin1(enteteJournal())));
    // A last line cut short by a crash is closed, so that the first datagram added stays whole.
    fichier.seek(taille - 1);
    const bool lignesFinies = fichier.read(1) == "\n";
    fichier.seek(taille);
    if (!lignesFinies && !ecrire("\n"))
        return echouer(derniereErreur, erreur);
    return true;
}

bool Journal::ajouter(const QByteArray &datagramme)
{
    if (!fichier.isOpen()) {
        derniereErreur = QString::fromUtf8("aucun journal ouvert");
        return false;
    }
    return ecrire(ligneJournal(datagramme) + '\n');
}

void Journal::fermer()
{
    fichier.close();
}

bool Journal::echouer(const QString &message, QString *erreur)
{
    derniereErreur = message;
    if (erreur)
        *erreur = message;
    fichier.close();
    return false;
}

bool Journal::ecrire(const QByteArray &octets)
{
    const qint64 avant = fichier.pos();
    const qint64 ecrits = fichier.write(octets);
    if (ecrits == octets.size() && fichier.flush())
        return true;
    const QString raison = ecrits >= 0 && fichier.error() == QFileDevice::NoError
                               ? QString::fromUtf8("écriture incomplète (disque plein ?)")
                               : fichier.errorString();
    derniereErreur = QString::fromUtf8("impossible d'écrire dans le journal %1 : %2")
                         .arg(nomAffiche(fichier.fileName()), raison);
    // A piece of line left behind would glue the next datagram to it.
    if (ecrits > 0 && !fichier.isSequential() && fichier.resize(avant))
        fichier.seek(avant);
    return false;
}
