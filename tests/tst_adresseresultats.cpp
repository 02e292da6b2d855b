// The results page's address offered to the spectators: each display window's menu shows
// its QR code in a corner until the operator takes it off, and a phone's reader gets the
// address back from the picture.
#include "core/donnees.h"
#include "fenetres.h"
#include "windows/encartadresse.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QString adresse = QStringLiteral("http://192.168.1.10:8080/");

std::unique_ptr<FenetreAffichage> fenetre(int n)
{
    return fenetreMontree(n, 1024, 600);
}

// The menu entry, from a right click on the window's view.
QAction *entreeAdresse(FenetreAffichage *f)
{
    const auto vues = f->findChildren<QAbstractScrollArea *>();
    for (QAbstractScrollArea *vue : vues)
        if (vue->contextMenuPolicy() == Qt::CustomContextMenu)
            emit vue->customContextMenuRequested(QPoint(40, 30));
    const auto menus = f->findChildren<QMenu *>();
    for (QMenu *menu : menus)
        for (QAction *action : menu->actions())
            if (action->text().trimmed() == QStringLiteral("Afficher l'adresse des résultats"))
                return action;
    return nullptr;
}

void fermerMenus(FenetreAffichage *f)
{
    const auto menus = f->findChildren<QMenu *>();
    for (QMenu *menu : menus)
        menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

class TstAdresseResultats : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        reinitialiserDonnees();
        FenetreAffichage::definirAdresseResultats(QString());
    }

    void sansPageRienAOffrir()
    {
        auto f = fenetre(1);
        QVERIFY(!entreeAdresse(f.get()));
        fermerMenus(f.get());
    }

    void codeLuParUnTelephone_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("fenêtre %d", n) << n;
    }

    void codeLuParUnTelephone()
    {
        QFETCH(int, n);
        const QString lecteur = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        if (lecteur.isEmpty())
            QSKIP("zbarimg absent (paquet zbar-tools, installé par scripts/install-deps.sh)");
        FenetreAffichage::definirAdresseResultats(adresse);
        auto f = fenetre(n);

        QAction *entree = entreeAdresse(f.get());
        QVERIFY(entree);
        QVERIFY(!entree->isChecked());
        entree->trigger();
        fermerMenus(f.get());
        auto *encart = f->findChild<EncartAdresse *>("encartAdresseResultats");
        QVERIFY(encart && encart->isVisible());
        // In the bottom-right corner, whole.
        QVERIFY(f->rect().contains(encart->geometry()));
        QVERIFY(encart->x() > f->width() / 2 && encart->y() > f->height() / 3);

        QTemporaryDir dossier;
        const QString image = dossier.filePath("fenetre.png");
        QVERIFY(f->grab().save(image));
        QProcess zbar;
        zbar.start(lecteur, {"--raw", "-q", image});
        QVERIFY(zbar.waitForFinished(20000));
        QCOMPARE(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), adresse);

        // The window's place in the corner follows its size.
        f->resize(800, 500);
        QTRY_VERIFY(f->rect().contains(encart->geometry()) && encart->x() > 400);

        entree = entreeAdresse(f.get());
        QVERIFY(entree && entree->isChecked());
        entree->trigger();
        fermerMenus(f.get());
        QVERIFY(!f->findChild<EncartAdresse *>());
    }
};

QTEST_MAIN(TstAdresseResultats)
#include "tst_adresseresultats.moc"
