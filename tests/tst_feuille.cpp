// Quitting from the control window: the confirmation, and what is saved.
#include "aidetests.h"

#include "app/feuille.h"
#include "core/parametres.h"
#include "windows/fenetreaffichage.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TstFeuille : public QObject
{
    Q_OBJECT

private slots:
    void init();
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
