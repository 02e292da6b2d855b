// The control window as the operator sees it: its form and the quit confirmation.
#include "aidetests.h"

#include "app/feuille.h"
#include "app/parametres.h"
#include "windows/fenetreaffichage.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TstFeuille : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void formulaire_data();
    void formulaire();
    void fenetreFixe();
    void quitter_data();
    void quitter();

private:
    QScopedPointer<QTemporaryDir> dossier;
};

void TstFeuille::init()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    dossier.reset(new QTemporaryDir);
    parametres = Parametres();
    parametres.repertoireDonnees = dossier->path();
}

void TstFeuille::formulaire_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QRect>("geometrie");
    QTest::addColumn<QString>("texte");
    QTest::newRow("séries") << "mainWindow1ToolButton" << QRect(10, 10, 211, 101) << "Séries";
    QTest::newRow("préparation") << "mainWindow2ToolButton" << QRect(240, 10, 211, 101)
                                 << "Préparation série";
    QTest::newRow("épreuve") << "mainWindow3ToolButton" << QRect(10, 180, 211, 101)
                             << "Classement épreuve";
    QTest::newRow("coupe") << "mainWindow4ToolButton" << QRect(240, 180, 211, 101)
                           << "Classement Vellor's Cup";
    QTest::newRow("diffusion") << "mainWindow5ToolButton" << QRect(10, 350, 211, 101)
                               << "Diffusion épreuve";
    QTest::newRow("étiquette 4") << "mainWindow4TailleFonteLabel" << QRect(240, 295, 31, 21)
                                 << "+0";
    QTest::newRow("connexion") << "mainFeuilleConnexionToolButton" << QRect(20, 20, 91, 61)
                               << "Connexion";
    QTest::newRow("quitter") << "mainFeuilleQuitterToolButton" << QRect(170, 20, 91, 61) << "";
    QTest::newRow("port") << "mainFeuilleReseauPortLabel" << QRect(20, 150, 71, 21) << "Port UDP";
    QTest::newRow("saisie port") << "mainFeuilleReseauPortLineEdit" << QRect(110, 150, 71, 22)
                                 << "7700";
    QTest::newRow("led") << "mainFeuilleReseauLedVerteToolButton" << QRect(226, 146, 28, 28) << "";
    QTest::newRow("info") << "mainFeuilleInfoLabel" << QRect(20, 400, 241, 21)
                          << "Vellor's Cup Display V1.1";
}

void TstFeuille::formulaire()
{
    QFETCH(QString, nom);
    QFETCH(QRect, geometrie);
    QFETCH(QString, texte);
    Feuille feuille;
    auto *w = feuille.findChild<QWidget *>(nom);
    QVERIFY(w);
    QCOMPARE(w->geometry(), geometrie);
    QString t;
    if (auto *b = qobject_cast<QToolButton *>(w))
        t = b->text();
    else if (auto *l = qobject_cast<QLabel *>(w))
        t = l->text();
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        t = e->text();
    QCOMPARE(t, texte);
    if (nom.startsWith("mainWindow") && nom.endsWith("ToolButton")) {
        auto *b = static_cast<QToolButton *>(w);
        QVERIFY(b->isCheckable());
        QCOMPARE(b->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(b->iconSize(), QSize(80, 50));
        QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
}

void TstFeuille::fenetreFixe()
{
    Feuille feuille;
    QCOMPARE(feuille.objectName(), QStringLiteral("feuillemain"));
    QCOMPARE(feuille.minimumSize(), QSize(760, 460));
    QCOMPARE(feuille.maximumSize(), QSize(760, 460));
    for (int n = 1; n <= 4; ++n) {
        QSlider *s = feuille.curseurTailleFonte(n);
        QCOMPARE(s->minimum(), -2);
        QCOMPARE(s->maximum(), 16);
        QCOMPARE(s->pageStep(), 1);
        QCOMPARE(s->tickInterval(), 2);
    }
    QVERIFY(!feuille.findChild<QSlider *>("mainWindow5TailleFonteSlider"));
}

void TstFeuille::quitter_data()
{
    QTest::addColumn<QString>("reponse");
    QTest::addColumn<bool>("ferme");
    QTest::newRow("non") << "Non" << false;
    QTest::newRow("échap") << "Escape" << false;
    QTest::newRow("oui") << "Oui" << true;
}

void TstFeuille::quitter()
{
    QFETCH(QString, reponse);
    QFETCH(bool, ferme);
    Feuille feuille;
    feuille.show();
    feuille.boutonFenetre(1)->click();
    QVERIFY(feuille.fenetre(1)->isVisible());
    feuille.fenetre(1)->move(120, 40);
    QFile::remove(cheminFichierParametres()); // the toggle saved nothing yet, but be sure

    QString titre, texte, defaut;
    surProchaineBoite([&](QMessageBox *boite) {
        titre = boite->windowTitle();
        texte = boite->text();
        defaut = boite->defaultButton()->text();
        if (reponse == "Escape")
            QTest::keyClick(boite, Qt::Key_Escape);
        else
            for (QAbstractButton *b : boite->buttons())
                if (b->text() == reponse)
                    b->click();
    });
    feuille.findChild<QToolButton *>("mainFeuilleQuitterToolButton")->click();

    QCOMPARE(titre, QStringLiteral("Vellor's Cup Display"));
    QCOMPARE(texte, QStringLiteral("Voulez-vous quitter le logiciel ?"));
    QCOMPARE(defaut, QStringLiteral("Non"));
    QCOMPARE(feuille.isVisible(), !ferme);
    QCOMPARE(feuille.fenetre(1)->isVisible(), !ferme);
    QCOMPARE(QFile::exists(cheminFichierParametres()), ferme);
    if (ferme) {
        QSettings f(cheminFichierParametres(), QSettings::IniFormat);
        QCOMPARE(f.value("FenetreInfo1/X").toInt(), 120);
        QCOMPARE(f.value("FenetreInfo1/Y").toInt(), 40);
    }
}

QTEST_MAIN(TstFeuille)
#include "tst_feuille.moc"
