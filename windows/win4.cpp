#include "windows/win4.h"
#include "ui_win4.h"

#include "core/donnees.h"
#include "windows/apparence.h"
#include "windows/win4graphique.h"

#include <QTimer>

// One title animation for the whole run, however often the window is shown or hidden.
static int alphaTitre = 255;
static bool titreDisparait = true;

Win4::Win4(QWidget *parent) : FenetreAffichage(4, parent), ui(new Ui::win4)
{
    ui->setupUi(this);
    installerCadre(ui->graphicsView, true);
    armerTitre(30000);
}

Win4::~Win4()
{
    delete ui;
}

void Win4::miseAJour()
{
    // A frame without rows leaves the last drawing on screen.
    if (classementCoupe.isEmpty() || !aRedessiner(Empreinte() << classementCoupe))
        return;
    dessinerScene();
}

SceneFenetre *Win4::creerScene()
{
    return new Win4Graphique(this, ui);
}

void Win4::armerTitre(int delai)
{
    delaiTitreArme = delai;
    QTimer::singleShot(delai, this, SLOT(titreSlot()));
}

void Win4::titreSlot()
{
    if (alphaTitre < 0) {
        alphaTitre = 0;
        titreDisparait = false;
        // The text changes while it cannot be seen.
        if (ui->titreLabel->text() == titreCoupe)
            ui->titreLabel->setText(QStringLiteral("Vellor's Cup"));
        else if (titreCoupe.isEmpty())
            ui->titreLabel->setText(QStringLiteral("Classement général"));
        else
            ui->titreLabel->setText(titreCoupe);
    } else if (alphaTitre > 255) {
        alphaTitre = 255;
        titreDisparait = true;
    }

    QPalette palette = ui->titreLabel->palette();
    QColor couleur = Apparence::blanc;
    couleur.setAlpha(alphaTitre);
    palette.setBrush(QPalette::WindowText, couleur);
    ui->titreLabel->setPalette(palette);

    alphaTitre += titreDisparait ? -10 : 10;
    // Fully shown again: rest before the next fade.
    armerTitre(alphaTitre > 254 ? 30000 : 25);
}
