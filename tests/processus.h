#ifndef PROCESSUS_H
#define PROCESSUS_H

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

// Real copies of the station (tests/aides/station-essai), started as the operator would, that
// share one private home, temporary and runtime folder: their settings and their single-copy
// marker meet each other and nothing else on the machine.
class Stations
{
public:
    Stations()
    {
        for (const char *dossier : {"tmp", "run"})
            QDir(maison.path()).mkdir(QString::fromLatin1(dossier));
        QFile::setPermissions(maison.path() + "/run",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~Stations()
    {
        for (QProcess *p : std::as_const(processus)) {
            p->kill();
            p->waitForFinished(5000);
        }
        qDeleteAll(processus);
    }

    static QString essai()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/aides/station-essai");
    }

    // Quits by the Quit button after dureeMs (0: never); action is what station-essai does
    // as the operator once its window shows.
    QProcess *lancer(int dureeMs, const QStringList &options = {}, const QByteArray &action = {},
                     const QString &programme = essai())
    {
        auto *p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", maison.path());
        env.insert("TMPDIR", temporaire());
        env.insert("XDG_RUNTIME_DIR", maison.path() + "/run");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VELLOR_ESSAI_ACTION", QString::fromLatin1(action));
        p->setProcessEnvironment(env);
        p->start(programme, QStringList{QString::number(dureeMs)} + options);
        processus << p;
        return p;
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

    QString fichierParametres() const
    {
        return maison.path() + "/Documents/Coupe des Vellor/Appli/ParametresDisplay.ini";
    }

private:
    QTemporaryDir maison;
    QList<QProcess *> processus;
};

#endif
