#ifndef PROCESSUS_H
#define PROCESSUS_H

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// As a terminal with no screen at all on Linux: no X server, no Wayland, no platform named.
// Wine keeps the offscreen platform.
inline void sansEcran(QProcessEnvironment &env)
{
#ifdef Q_OS_WIN
    env.insert("QT_QPA_PLATFORM", "offscreen");
#else
    env.insert("DISPLAY", "");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
#endif
}

// Real copies of the station (tests/aides/station-essai), started as the operator would, that
// share one private home, temporary and runtime folder: their settings and their single-copy
// marker meet each other and nothing else on the machine. Windows takes Documents from the
// user's profile whatever the environment says: there the user's station folder is set aside
// for the test's run and put back after it.
class Stations
{
public:
    Stations()
    {
        for (const char *dossier : {"tmp", "run"})
            QDir(maison.path()).mkdir(QString::fromLatin1(dossier));
        QFile::setPermissions(maison.path() + "/run",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#ifdef Q_OS_WIN
        if (!QDir(dossierStation() + mis).exists())
            QDir().rename(dossierStation(), dossierStation() + mis);
        QDir(dossierStation()).removeRecursively();
#endif
    }
    ~Stations()
    {
        for (QProcess *p : std::as_const(processus)) {
            p->kill();
            p->waitForFinished(5000);
        }
        qDeleteAll(processus);
#ifdef Q_OS_WIN
        QDir(dossierStation()).removeRecursively();
        QDir().rename(dossierStation() + mis, dossierStation());
#endif
    }

    static QString essai()
    {
        return QCoreApplication::applicationDirPath() + "/aides/station-essai" + suffixeProgramme;
    }

    // Quits by the Quit button after dureeMs (0: never); action is what station-essai does
    // as the operator once its window shows.
    QProcess *lancer(int dureeMs, const QStringList &options = {}, const QByteArray &action = {},
                     const QString &programme = essai())
    {
        QProcessEnvironment env = environnement();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VELLOR_ESSAI_ACTION", QString::fromLatin1(action));
        return demarrer(programme, QStringList{QString::number(dureeMs)} + options, env);
    }

    // The program itself, as from a terminal with no screen.
    QProcess *lancerSansEcran(const QStringList &options)
    {
        QProcessEnvironment env = environnement();
        sansEcran(env);
        return demarrer(QCoreApplication::applicationDirPath() + "/../vellorcup-display" +
                            suffixeProgramme,
                        options, env);
    }

    // The first line that starts so, or nothing once the process ended or time ran out.
    static QByteArray attendreLigne(QProcess *p, const QByteArray &debut, int delaiMs = 30000)
    {
        QDeadlineTimer limite(delaiMs);
        while (!limite.hasExpired()) {
            while (p->canReadLine()) {
                const QByteArray ligne = p->readLine().trimmed();
                if (ligne.startsWith(debut))
                    return ligne;
            }
            if (p->state() == QProcess::NotRunning && !p->canReadLine())
                return {};
            p->waitForReadyRead(100);
        }
        return {};
    }

    QString temporaire() const { return maison.path() + QStringLiteral("/tmp"); }

    QProcessEnvironment environnement() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", maison.path());
        env.insert("TMPDIR", temporaire());
        env.insert("XDG_RUNTIME_DIR", maison.path() + "/run");
        return env;
    }

    QProcess *demarrer(const QString &programme, const QStringList &arguments,
                       const QProcessEnvironment &env)
    {
        auto *p = new QProcess;
        p->setProcessEnvironment(env);
        p->start(programme, arguments);
        processus << p;
        return p;
    }

    QString fichierParametres() const
    {
        return dossierStation() + "/Appli/ParametresDisplay.ini";
    }

private:
    QString dossierStation() const
    {
#ifdef Q_OS_WIN
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
               + "/Coupe des Vellor";
#else
        return maison.path() + "/Documents/Coupe des Vellor";
#endif
    }

    static constexpr char mis[] = ".mis-de-cote";
#ifdef Q_OS_WIN
    static constexpr char suffixeProgramme[] = ".exe";
#else
    static constexpr char suffixeProgramme[] = "";
#endif
    QTemporaryDir maison;
    QList<QProcess *> processus;
};

#endif
