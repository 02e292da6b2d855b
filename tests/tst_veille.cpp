// Keeping the screens awake, on a private session bus where the test stands in for the
// desktop's services, with real windows shown and hidden.
#include "app/veilleecran.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>

#ifdef VELLOR_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

namespace
{
const QString nomEcran = QStringLiteral("org.freedesktop.ScreenSaver");
const QString cheminEcran = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString nomGnome = QStringLiteral("org.gnome.SessionManager");
const QString cheminGnome = QStringLiteral("/org/gnome/SessionManager");
constexpr uint premierJetonEcran = 7001;
constexpr uint premierJetonGnome = 9001;

const QString suspendue = QStringLiteral("veille suspendue");
const QString retablie = QStringLiteral("veille rétablie");
// Followed by a reason and a closing parenthesis.
const QString peutSEteindre = QStringLiteral("veille : l'écran peut s'éteindre (");

// Calls as the stand-in records them: interface.member, signature, arguments.
const QString inhibitEcran = QStringLiteral(
    "org.freedesktop.ScreenSaver.Inhibit ss Vellor's Cup Display | Affichage public du concours");
const QString inhibitGnome =
    QStringLiteral("org.gnome.SessionManager.Inhibit susu "
                   "Vellor's Cup Display | 0 | Affichage public du concours | 8");
QString unInhibitEcran(uint jeton)
{
    return QStringLiteral("org.freedesktop.ScreenSaver.UnInhibit u %1").arg(jeton);
}
QString uninhibitGnome(uint jeton)
{
    return QStringLiteral("org.gnome.SessionManager.Uninhibit u %1").arg(jeton);
}

// The desktop's services, on their own connection and thread: the station's calls block
// the test's thread until answered.
class BureauEssai final : public QThread
{
public:
    enum class Reponse { Jeton, Erreur, Silence };

    BureauEssai(const QString &adresse, const QStringList &services, Reponse reponse)
        : adresse(adresse), services(services), reponse(reponse)
    {
    }
    ~BureauEssai() override
    {
        quit();
        wait();
    }

    // False when the services could not take their names on the bus.
    bool demarrer()
    {
        start();
        return pret.tryAcquire(1, 10000) && enregistres;
    }

    QStringList appels() const
    {
        QMutexLocker verrou(&garde);
        return journal;
    }

private:
    class Service final : public QDBusVirtualObject
    {
    public:
        Service(BureauEssai &bureau, uint premierJeton) : bureau(bureau), jeton(premierJeton) {}

        QString introspect(const QString &) const override { return {}; }

        bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
        {
            QStringList arguments;
            for (const QVariant &argument : message.arguments())
                arguments << argument.toString();
            bureau.noter(message.interface() + QLatin1Char('.') + message.member() +
                         QLatin1Char(' ') + message.signature() + QLatin1Char(' ') +
                         arguments.join(QStringLiteral(" | ")));
            switch (bureau.reponse) {
            case Reponse::Silence:
                break;
            case Reponse::Erreur:
                bus.send(
                    message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                             QStringLiteral("refus de l'essai")));
                break;
            case Reponse::Jeton:
                bus.send(message.member().startsWith(QLatin1String("Inhibit"))
                             ? message.createReply(QVariant::fromValue(jeton++))
                             : message.createReply());
                break;
            }
            return true;
        }

    private:
        BureauEssai &bureau;
        uint jeton;
    };

    void noter(const QString &appel)
    {
        QMutexLocker verrou(&garde);
        journal << appel;
    }

    void run() override
    {
        const QString nomConnexion = QStringLiteral("bureau-essai");
        {
            QDBusConnection bus = QDBusConnection::connectToBus(adresse, nomConnexion);
            Service ecran(*this, premierJetonEcran);
            Service gnome(*this, premierJetonGnome);
            bool ok = bus.isConnected();
            if (services.contains(nomEcran))
                ok = ok && bus.registerVirtualObject(cheminEcran, &ecran) &&
                     bus.registerService(nomEcran);
            if (services.contains(nomGnome))
                ok = ok && bus.registerVirtualObject(cheminGnome, &gnome) &&
                     bus.registerService(nomGnome);
            enregistres = ok;
            pret.release();
            exec();
            // Names given back before the next row looks for them.
            for (const QString &nom : services)
                bus.unregisterService(nom);
            bus.unregisterObject(cheminEcran);
            bus.unregisterObject(cheminGnome);
        }
        QDBusConnection::disconnectFromBus(nomConnexion);
    }

    const QString adresse;
    const QStringList services;
    const Reponse reponse;
    QSemaphore pret;
    bool enregistres = false;
    mutable QMutex garde;
    QStringList journal;
};

// The station's lines about the screens.
QStringList lignesVeille;
QtMessageHandler gestionnairePrecedent = nullptr;

// A line that the screen may sleep is kept without its reason, once checked there is one.
void noterLigne(QtMsgType type, const QMessageLogContext &contexte, const QString &message)
{
    if (type != QtDebugMsg || !message.startsWith(QLatin1String("veille")))
        gestionnairePrecedent(type, contexte, message);
    else if (message.startsWith(peutSEteindre) && message.endsWith(QLatin1Char(')')) &&
             message.size() > peutSEteindre.size() + 1)
        lignesVeille << peutSEteindre;
    else
        lignesVeille << message;
}
} // namespace

class TstVeille : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void suspension_data();
    void suspension();

private:
    QTemporaryDir dossier;
    QProcess demon;
    QString adresse;
};

void TstVeille::initTestCase()
{
    // A session bus of our own, without service activation: nothing on this machine may
    // answer in the stand-in's place.
    QVERIFY(dossier.isValid());
    QFile config(dossier.filePath(QStringLiteral("session.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                     "<policy context=\"default\"><allow send_destination=\"*\"/>"
                     "<allow receive_sender=\"*\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n")
                     .arg(dossier.filePath(QStringLiteral("bus")))
                     .toUtf8());
    config.close();
    demon.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
    QVERIFY2(demon.waitForStarted(10000), "dbus-daemon introuvable (paquet dbus)");
    QDeadlineTimer limite(10000);
    while (!demon.canReadLine() && !limite.hasExpired())
        demon.waitForReadyRead(100);
    adresse = QString::fromUtf8(demon.readLine()).trimmed();
    QVERIFY2(!adresse.isEmpty(), demon.readAllStandardError().constData());
    // Before anything opens the session bus, which Qt then keeps for the whole run.
    qputenv("DBUS_SESSION_BUS_ADDRESS", adresse.toUtf8());
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void TstVeille::cleanupTestCase()
{
    if (demon.state() != QProcess::NotRunning) {
        demon.kill();
        demon.waitForFinished(10000);
    }
}

void TstVeille::init()
{
    lignesVeille.clear();
    gestionnairePrecedent = qInstallMessageHandler(noterLigne);
}

void TstVeille::cleanup()
{
    qInstallMessageHandler(gestionnairePrecedent);
}

// Steps, one word each: "v" watch both windows; "+n", "-n" show or hide window n; "mn"
// minimise it; "xn" delete it; "q" delete the watcher, as at quit. After each step, the
// hold: 1 taken, 0 not, "." not asked.
void TstVeille::suspension_data()
{
    QTest::addColumn<QStringList>("services");
    QTest::addColumn<int>("reponse");
    QTest::addColumn<QString>("etapes");
    QTest::addColumn<QString>("suspensions");
    QTest::addColumn<QStringList>("appels");
    QTest::addColumn<QStringList>("lignes");

    const QStringList deux = {nomEcran, nomGnome};
    const int jeton = int(BureauEssai::Reponse::Jeton);
    const int erreur = int(BureauEssai::Reponse::Erreur);
    const int silence = int(BureauEssai::Reponse::Silence);

    QTest::newRow("une fenêtre montrée puis cachée, deux fois")
        << deux << jeton << "v +1 -1 +1 -1"
        << "01010"
        << QStringList{inhibitEcran, unInhibitEcran(7001), inhibitEcran, unInhibitEcran(7002)}
        << QStringList{suspendue, retablie, suspendue, retablie};
    QTest::newRow("deux fenêtres : rendue quand la dernière se cache")
        << deux << jeton << "v +1 +2 -1 -2"
        << "01110" << QStringList{inhibitEcran, unInhibitEcran(7001)}
        << QStringList{suspendue, retablie};
    // Minimising, then hiding, then showing again sends Hide twice and Show twice.
    QTest::newRow("réduite, cachée, remontrée : comptée une fois")
        << deux << jeton << "v +2 +1 m1 -1 +1 -1 -2"
        << "01111110" << QStringList{inhibitEcran, unInhibitEcran(7001)}
        << QStringList{suspendue, retablie};
    QTest::newRow("déjà affichée quand on la surveille")
        << deux << jeton << "+1 v -1"
        << "010" << QStringList{inhibitEcran, unInhibitEcran(7001)}
        << QStringList{suspendue, retablie};
    QTest::newRow("détruite pendant l'affichage")
        << deux << jeton << "v +1 +2 x1 x2"
        << "01110" << QStringList{inhibitEcran, unInhibitEcran(7001)}
        << QStringList{suspendue, retablie};
    QTest::newRow("fin du programme, fenêtres affichées")
        << deux << jeton << "v +1 +2 q"
        << "011." << QStringList{inhibitEcran, unInhibitEcran(7001)}
        << QStringList{suspendue, retablie};
    QTest::newRow("sans économiseur : session GNOME")
        << QStringList{nomGnome} << jeton << "v +1 +2 -2 -1"
        << "01110" << QStringList{inhibitGnome, uninhibitGnome(9001)}
        << QStringList{suspendue, retablie};
    QTest::newRow("aucun service : une ligne par tentative")
        << QStringList{} << jeton << "v +1 +2 -1 -2 +1"
        << "000000" << QStringList{} << QStringList{peutSEteindre, peutSEteindre};
    QTest::newRow("économiseur en erreur")
        << deux << erreur << "v +1 +2 -1 -2"
        << "00000" << QStringList{inhibitEcran} << QStringList{peutSEteindre};
    QTest::newRow("session GNOME en erreur")
        << QStringList{nomGnome} << erreur << "v +1 -1"
        << "000" << QStringList{inhibitGnome} << QStringList{peutSEteindre};
    QTest::newRow("économiseur muet : attente bornée")
        << QStringList{nomEcran} << silence << "v +1 -1"
        << "000" << QStringList{inhibitEcran} << QStringList{peutSEteindre};
}

void TstVeille::suspension()
{
    QFETCH(QStringList, services);
    QFETCH(int, reponse);
    QFETCH(QString, etapes);
    QFETCH(QString, suspensions);
    QFETCH(QStringList, appels);
    QFETCH(QStringList, lignes);

    BureauEssai bureau(adresse, services, BureauEssai::Reponse(reponse));
    QVERIFY(bureau.demarrer());
    auto veille = std::make_unique<VeilleEcran>();
    std::unique_ptr<QWidget> fenetres[2] = {std::make_unique<QWidget>(),
                                            std::make_unique<QWidget>()};
    for (auto &fenetre : fenetres)
        fenetre->resize(320, 200);

    const QStringList mots = etapes.split(QLatin1Char(' '));
    QCOMPARE(mots.size(), suspensions.size());
    for (int i = 0; i < mots.size(); ++i) {
        const QString &mot = mots.at(i);
        QWidget *fenetre = mot.size() == 2 ? fenetres[mot.at(1).digitValue() - 1].get() : nullptr;
        QElapsedTimer duree;
        duree.start();
        switch (mot.at(0).toLatin1()) {
        case 'v':
            for (auto &f : fenetres)
                veille->surveiller(f.get());
            break;
        case '+':
            fenetre->show();
            break;
        case '-':
            fenetre->hide();
            break;
        case 'm':
            fenetre->showMinimized();
            break;
        case 'x':
            fenetres[mot.at(1).digitValue() - 1].reset();
            break;
        case 'q':
            veille.reset();
            break;
        default:
            QFAIL(qPrintable(mot));
        }
        // A hung or missing service must not freeze the windows for long.
        QVERIFY2(duree.elapsed() < 6000, qPrintable(mot));
        // What the window system sends back (exposure, state) comes in too.
        QCoreApplication::processEvents();
        if (suspensions.at(i) != QLatin1Char('.'))
            QVERIFY2(veille->suspendue() == (suspensions.at(i) == QLatin1Char('1')),
                     qPrintable(QStringLiteral("après « %1 »").arg(mot)));
    }

    QCOMPARE(bureau.appels(), appels);
    QCOMPARE(lignesVeille, lignes);
}

#else
// Built without QtDBus: nothing holds the screens, nothing to check here.
class TstVeille : public QObject
{
    Q_OBJECT

private slots:
    void suspension() { QSKIP("construit sans QtDBus"); }
};
#endif

QTEST_MAIN(TstVeille)
#include "tst_veille.moc"
