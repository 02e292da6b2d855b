// The results page in a real browser at a phone's size, fed by a real station: names from
// the sender reach the page as text only, and the page follows a station that restarts,
// without anyone reloading it. The browser is driven by tests/navigateur/suivre.mjs.
#include "tools/simulateur/concours.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace
{
constexpr quint16 portTrames = 7700;
const QString chromium = QStringLiteral("/usr/bin/chromium");
const QString piege = QStringLiteral("<img src=x onerror=alert(1)>");

// A pilot renamed everywhere the frame names him: series, scoreboard and cup.
QByteArray renommer(const QByteArray &trame, const Pilote &p, const QString &nom1,
                    const QString &nom2)
{
    QString texte = QString::fromUtf8(trame);
    texte.replace(';' + p.nom1 + ';' + p.nom2 + ';', ';' + nom1 + ';' + nom2 + ';');
    return texte.toUtf8();
}

// Whether some socket of this network namespace is bound to the UDP port.
bool udpLie(quint16 port)
{
    const QByteArray fin = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const char *table : {"/proc/net/udp", "/proc/net/udp6"}) {
        QFile f(QString::fromLatin1(table));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &ligne : f.readAll().split('\n')) {
            const QList<QByteArray> champs = ligne.simplified().split(' ');
            if (champs.size() > 1 && champs.at(1).endsWith(fin))
                return true;
        }
    }
    return false;
}

bool tcpOuvert(quint16 port)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    return s.waitForConnected(200);
}
} // namespace

class TstNavigateur : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void nomsEnTexteSansRechargement();
    void reconnexionApresRedemarrage();

private:
    QString demarrerStation();
    QString demarrerPage();
    QString attendreLigne(const QByteArray &attendue, int delaiMs);
    void commander(const QByteArray &ligne) { page->write(ligne + '\n'); }
    void attendreNoms(const QStringList &noms)
    {
        commander("attendre " +
                  QJsonDocument(QJsonArray::fromStringList(noms)).toJson(QJsonDocument::Compact));
    }
    void envoyer(const QByteArray &trame)
    {
        QUdpSocket().writeDatagram(trame, QHostAddress::LocalHost, portTrames);
    }

    QString node;
    QScopedPointer<QTemporaryDir> maison;
    quint16 portWeb = 0;
    QProcess *station = nullptr;
    QProcess *page = nullptr;
    QList<QProcess *> processus;
};

void TstNavigateur::initTestCase()
{
    node = QStandardPaths::findExecutable(QStringLiteral("node"));
    const bool modules =
        QDir(QStringLiteral(VELLOR_NAVIGATEUR "/node_modules/playwright-core")).exists();
    if (node.isEmpty() || !QFile::exists(chromium) || !modules)
        QSKIP("chromium, node ou tests/navigateur/node_modules manque : lancer "
              "scripts/install-deps.sh");
}

void TstNavigateur::init()
{
    maison.reset(new QTemporaryDir);
    for (const char *dossier : {"tmp", "run"})
        QVERIFY(QDir(maison->path()).mkdir(QString::fromLatin1(dossier)));
    QFile::setPermissions(maison->path() + "/run",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Any free port will do: the namespace is ours alone.
    QTcpServer libre;
    QVERIFY(libre.listen(QHostAddress::LocalHost));
    portWeb = libre.serverPort();
}

void TstNavigateur::cleanup()
{
    // The script closes its browser when its input ends.
    if (page) {
        page->closeWriteChannel();
        page->waitForFinished(10000);
    }
    for (QProcess *p : std::as_const(processus)) {
        p->kill();
        p->waitForFinished(5000);
    }
    qDeleteAll(processus);
    processus.clear();
    station = page = nullptr;
}

// A station with private settings and single-instance marker, ready once both of its
// ports listen. Returns what went wrong, or nothing.
QString TstNavigateur::demarrerStation()
{
    station = new QProcess;
    processus << station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", maison->path());
    env.insert("TMPDIR", maison->path() + "/tmp");
    env.insert("XDG_RUNTIME_DIR", maison->path() + "/run");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    station->setProcessEnvironment(env);
    station->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    station->start(QStringLiteral(VELLOR_STATION_ESSAI), {"0", "--web", QString::number(portWeb)});
    QDeadlineTimer limite(30000);
    while (!limite.hasExpired() && !(udpLie(portTrames) && tcpOuvert(portWeb))) {
        if (station->state() == QProcess::NotRunning)
            return QStringLiteral("la station s'est arrêtée : %1")
                .arg(QString::fromUtf8(station->readAllStandardOutput()));
        station->waitForReadyRead(100);
    }
    if (limite.hasExpired())
        return QStringLiteral("ports 7700 et %1 jamais ouverts").arg(portWeb);
    return {};
}

QString TstNavigateur::demarrerPage()
{
    page = new QProcess;
    processus << page;
    page->setWorkingDirectory(QStringLiteral(VELLOR_NAVIGATEUR));
    page->start(node, {QStringLiteral("suivre.mjs"), QStringLiteral("essai"),
                       QStringLiteral("http://127.0.0.1:%1/").arg(portWeb)});
    // A cold start of the browser takes its time on a busy machine.
    return attendreLigne("prêt", 60000);
}

// Waits for the script's line, and tells why it did not come.
QString TstNavigateur::attendreLigne(const QByteArray &attendue, int delaiMs)
{
    QDeadlineTimer limite(delaiMs);
    while (!limite.hasExpired()) {
        while (page->canReadLine()) {
            const QByteArray ligne = page->readLine().trimmed();
            if (ligne == attendue)
                return {};
            if (ligne.startsWith("faute"))
                return QString::fromUtf8(ligne);
        }
        if (page->state() == QProcess::NotRunning)
            break;
        page->waitForReadyRead(100);
    }
    return QStringLiteral("« %1 » non reçu en %2 s ; erreurs du script : %3")
        .arg(QString::fromUtf8(attendue))
        .arg(delaiMs / 1000)
        .arg(QString::fromUtf8(page->readAllStandardError()));
}

// The sender renames two pilots of the series in flight: one with markup in his name, one
// with an accent. The open page shows both as they were typed, and nothing else happens.
void TstNavigateur::nomsEnTexteSansRechargement()
{
    ConcoursDemo concours;
    concours.allerA(2, 1, Phase::Vol, 10);
    QString erreur = demarrerStation();
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    envoyer(concours.trame());
    erreur = demarrerPage();
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));

    concours.avancer(1);
    const QVector<int> enVol = concours.series().at(concours.moment().serie);
    const Pilote &a = concours.pilotes().at(enVol.at(0));
    const Pilote &b = concours.pilotes().at(enVol.at(1));
    const QByteArray trame = renommer(renommer(concours.trame(), a, piege, a.nom2), b,
                                      QStringLiteral("ZOÉ"), QStringLiteral("Nouvelle"));
    QVERIFY(trame.contains("ZOÉ;Nouvelle") && trame.contains(piege.toUtf8()));
    envoyer(trame);
    attendreNoms({piege + ' ' + a.nom2, QStringLiteral("ZOÉ Nouvelle")});
    erreur = attendreLigne("vu", 30000);
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
}

// The station is killed and started again on the same port: the page left open catches up
// by itself.
void TstNavigateur::reconnexionApresRedemarrage()
{
    ConcoursDemo concours;
    concours.allerA(3, 0, Phase::Vol, 5);
    QString erreur = demarrerStation();
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    envoyer(concours.trame());
    erreur = demarrerPage();
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));

    commander("coupure");
    erreur = attendreLigne("coupure notée", 10000);
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    station->kill();
    QVERIFY(station->waitForFinished(5000));
    erreur = demarrerStation();
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));

    concours.avancer(1);
    const Pilote &p = concours.pilotes().at(concours.series().at(concours.moment().serie).at(2));
    envoyer(renommer(concours.trame(), p, QStringLiteral("LÉON"), QStringLiteral("Revenu")));
    attendreNoms({QStringLiteral("LÉON Revenu")});
    // The page retries its stream every few seconds.
    erreur = attendreLigne("vu", 15000);
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
}

QTEST_GUILESS_MAIN(TstNavigateur)
#include "tst_navigateur.moc"
