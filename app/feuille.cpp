#include "app/feuille.h"
#include "ui_feuille.h"

#include "app/dialoguereglages.h"
#include "app/modeleadresses.h"
#include "app/station.h"
#include "app/veilleecran.h"
#include "core/donnees.h"
#include "network/reseau.h"
#include "version.h"
#include "windows/apparence.h"
#include "windows/fenetreaffichage.h"
#include "windows/win1.h"
#include "windows/win2.h"
#include "windows/win3.h"
#include "windows/win4.h"
#include "windows/win5.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDebug>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

namespace
{
constexpr int lignesAdressesMin = 6;

// Each window's button, right-click and menu items lead to its own named slots.
struct SlotsFenetre {
    void (Feuille::*basculer)();
    void (Feuille::*menu)(QPoint);
    void (Feuille::*centrer)();
    void (Feuille::*agrandir)();
};
const SlotsFenetre slotsFenetres[nombreFenetres] = {
    {&Feuille::ecranSeriesToolButtonSlot, &Feuille::ecranSeriesMenuToolButtonSlot,
     &Feuille::ecranSeriesMenuCentrerSlot, &Feuille::ecranSeriesMenuAgrandirSlot},
    {&Feuille::ecranPreparationToolButtonSlot, &Feuille::ecranPreparationMenuToolButtonSlot,
     &Feuille::ecranPreparationMenuCentrerSlot, &Feuille::ecranPreparationMenuAgrandirSlot},
    {&Feuille::ecranEpreuvesToolButtonSlot, &Feuille::ecranEpreuvesMenuToolButtonSlot,
     &Feuille::ecranEpreuvesMenuCentrerSlot, &Feuille::ecranEpreuvesMenuAgrandirSlot},
    {&Feuille::ecranCoupeToolButtonSlot, &Feuille::ecranCoupeMenuToolButtonSlot,
     &Feuille::ecranCoupeMenuCentrerSlot, &Feuille::ecranCoupeMenuAgrandirSlot},
    {&Feuille::ecranEpreuveCouranteToolButtonSlot, &Feuille::ecranEpreuveCouranteMenuToolButtonSlot,
     &Feuille::ecranEpreuveCouranteMenuCentrerSlot, nullptr},
};

// A status line, red when something the operator must mend.
void ecrireEtat(QLabel *etiquette, const LigneEtat &ligne)
{
    etiquette->setText(ligne.texte);
    QPalette palette = etiquette->palette();
    const QColor couleur = ligne.alerte ? Apparence::rouge : Apparence::blanc;
    palette.setColor(QPalette::Active, QPalette::WindowText, couleur);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, couleur);
    etiquette->setPalette(palette);
}
} // namespace

Feuille::Feuille(QWidget *parent) : QMainWindow(parent), ui(new Ui::Feuille), station(nullptr)
{
    ui->setupUi(this);
    commandes[0] = {nullptr, ui->mainWindow1ToolButton, ui->mainWindow1TailleFonteSlider,
                    ui->mainWindow1TailleFonteLabel};
    commandes[1] = {nullptr, ui->mainWindow2ToolButton, ui->mainWindow2TailleFonteSlider,
                    ui->mainWindow2TailleFonteLabel};
    commandes[2] = {nullptr, ui->mainWindow3ToolButton, ui->mainWindow3TailleFonteSlider,
                    ui->mainWindow3TailleFonteLabel};
    commandes[3] = {nullptr, ui->mainWindow4ToolButton, ui->mainWindow4TailleFonteSlider,
                    ui->mainWindow4TailleFonteLabel};
    commandes[4] = {nullptr, ui->mainWindow5ToolButton, nullptr, nullptr};
    for (int n = 1; n <= fenetresAvecTailleFonte; ++n)
        curseurTailleFonte(n)->setRange(tailleFonteMin, tailleFonteMax);
    setWindowTitle(QStringLiteral(VELLOR_TITRE));
    // Until the first refresh time replaces it.
    ui->mainFeuilleInfoLabel->setText(QStringLiteral(VELLOR_TITRE));
    station = new Station(this);
    chargerParametres();

    // Top-level windows, living as long as the process.
    FenetreAffichage *const fenetres[nombreFenetres] = {new Win1(nullptr), new Win2(nullptr),
                                                        new Win3(nullptr), new Win4(nullptr),
                                                        new Win5(nullptr)};
    epreuvesSeries = QVector<EpreuveSeries>(nombreEpreuves);
    // The public's screens stay awake while a window is shown.
    auto *veille = new VeilleEcran(this);
    for (int n = 1; n <= nombreFenetres; ++n) {
        commandes[n - 1].fenetre = fenetres[n - 1];
        connect(fenetres[n - 1], &FenetreAffichage::parametresModifiesSignal, this,
                &Feuille::parametresModifiesSlot);
        veille->surveiller(fenetres[n - 1]);
    }
    connecterFormulaire();

    Reseau *reseau = station->reseau();
    ui->mainFeuilleReseauPortLineEdit->setText(parametres.portUdp);
    connect(reseau, &Reseau::reseauUpdateAffichageSignal, this,
            &Feuille::reseauUpdateAffichageSlot);
    connect(reseau, &Reseau::voyantReceptionSignal, ui->mainFeuilleReseauLedVerteToolButton,
            &QWidget::setVisible);
    connect(reseau, &Reseau::dureeMaxAffichageSignal, this, [this](double dureeMs) {
        ui->mainFeuilleInfoLabel->setText(QString::number(dureeMs, 'g', 6) + QStringLiteral(" ms"));
    });
    connect(station, &Station::etatChangeSignal, this, &Feuille::etatFluxSlot);
    // Off until a datagram arrives: a silent feed must not look live.
    ui->mainFeuilleReseauLedVerteToolButton->hide();
    etatFluxSlot();

    // Listen without waiting for the operator.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    ui->mainFeuilleConnexionToolButton->animateClick(); // always 100 ms from Qt 6 on
#else
    ui->mainFeuilleConnexionToolButton->animateClick(100);
#endif
}

// The windows and the station's services live until the process ends, which is now.
Feuille::~Feuille()
{
    delete dialogue;
    delete station;
    for (int n = 1; n <= nombreFenetres; ++n)
        delete fenetre(n);
    delete ui;
}

void Feuille::connecterFormulaire()
{
    connect(ui->mainFeuilleConnexionToolButton, &QToolButton::clicked, this,
            &Feuille::mainFeuilleConnexionToolButtonSlot);
    connect(ui->mainFeuilleQuitterToolButton, &QToolButton::clicked, this,
            &Feuille::mainFeuilleQuitterToolButtonSlot);
    connect(ui->mainFeuilleReglagesToolButton, &QToolButton::clicked, this,
            &Feuille::mainFeuilleReglagesToolButtonSlot);
    auto *preferences = new QAction(this);
    preferences->setShortcuts(QKeySequence::Preferences);
    if (preferences->shortcuts().isEmpty()) // no such key on this platform
        preferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    connect(preferences, &QAction::triggered, this, &Feuille::mainFeuilleReglagesToolButtonSlot);
    addAction(preferences);
    connect(ui->mainFeuilleReseauPortLineEdit, &QLineEdit::textChanged, this,
            &Feuille::reseauPortLineEditSlot);
    for (int n = 1; n <= nombreFenetres; ++n) {
        connect(boutonFenetre(n), &QToolButton::clicked, this, slotsFenetres[n - 1].basculer);
        connect(boutonFenetre(n), &QToolButton::customContextMenuRequested, this,
                slotsFenetres[n - 1].menu);
        if (n <= fenetresAvecTailleFonte)
            connect(curseurTailleFonte(n), &QSlider::valueChanged, this,
                    &Feuille::mainWinTailleFonteSliderSlot);
    }
    connect(ui->reprendreCheckBox, &QCheckBox::toggled, this, [this](bool coche) {
        parametres.reprendre = coche;
        parametresModifiesSlot();
    });
    connect(ui->mainFeuilleReseauPortLineEdit, &QLineEdit::textEdited, this,
            &Feuille::parametresModifiesSlot);
}

FenetreAffichage *Feuille::fenetre(int n) const
{
    return commandes[n - 1].fenetre;
}

QToolButton *Feuille::boutonFenetre(int n) const
{
    return commandes[n - 1].bouton;
}

QSlider *Feuille::curseurTailleFonte(int n) const
{
    return commandes[n - 1].curseur;
}

QLabel *Feuille::etiquetteTailleFonte(int n) const
{
    return commandes[n - 1].etiquette;
}

void Feuille::showEvent(QShowEvent *event)
{
    event->accept();
}

void Feuille::closeEvent(QCloseEvent *event)
{
    if (!QCoreApplication::applicationDirPath().contains(QLatin1String("release"))) {
        QMessageBox question(QMessageBox::Warning, tr("Vellor's Cup Display"),
                             tr("Voulez-vous quitter le logiciel ?"),
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::No);
        question.setEscapeButton(QMessageBox::No);
        question.button(QMessageBox::No)->setText(tr("Non"));
        question.button(QMessageBox::Yes)->setText(tr("Oui"));
        if (question.exec() != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    // Closing the windows hides them; what was shown is remembered for the next start.
    bool visibles[nombreFenetres];
    for (int n = 1; n <= nombreFenetres; ++n)
        visibles[n - 1] = fenetre(n)->isVisible();
    for (int n = 1; n <= nombreFenetres; ++n)
        fenetre(n)->close();
    for (int n = 1; n <= nombreFenetres; ++n)
        parametres.fenetresInfo[n - 1].Visible = visibles[n - 1];
    sauverParametres();
    event->accept();
}

// ---- Settings and the station's state

void Feuille::chargerParametres()
{
    qDebug() << "void Feuille::chargerParametres()" << QThread::currentThreadId();
    station->chargerParametres();
    for (int n = 1; n <= fenetresAvecTailleFonte; ++n) {
        const int taille = parametres.fenetresInfo[n - 1].TailleFonte;
        curseurTailleFonte(n)->setValue(taille);
        etiquetteTailleFonte(n)->setText(texteTailleFonte(taille));
    }
    ui->reprendreCheckBox->setChecked(parametres.reprendre);
}

void Feuille::sauverParametres()
{
    station->sauverParametres();
}

void Feuille::parametresModifiesSlot()
{
    station->parametresModifies();
}

void Feuille::appliquerOptions(const OptionsStation &options)
{
    station->demarrer(options);
}

void Feuille::mainFeuilleReglagesToolButtonSlot()
{
    if (!dialogue) {
        dialogue = new DialogueReglages(station, this);
        dialogue->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialogue->show();
    dialogue->raise();
    dialogue->activateWindow();
}

void Feuille::etatFluxSlot()
{
    const TextesEtat textes = textesEtat(station->etat());
    ecrireEtat(ui->etatFluxLabel, textes.flux);
    ecrireEtat(ui->webAdressesLabel, textes.page);
    ecrireEtat(ui->etatRelais, textes.relais);
}

// The windows shown when the station last stopped, at their places, once it listens.
void Feuille::reprendreFenetres()
{
    for (int n = 1; n <= nombreFenetres; ++n) {
        if (!parametres.fenetresInfo[n - 1].Visible || fenetre(n)->isVisible())
            continue;
        boutonFenetre(n)->setChecked(true);
        basculerFenetre(n);
    }
}

void Feuille::mainWinTailleFonteSliderSlot(int)
{
    for (int n = 1; n <= fenetresAvecTailleFonte; ++n) {
        const int taille = curseurTailleFonte(n)->value();
        parametres.fenetresInfo[n - 1].TailleFonte = taille;
        etiquetteTailleFonte(n)->setText(texteTailleFonte(taille));
    }
    for (int n = 1; n <= fenetresAvecTailleFonte; ++n)
        if (fenetre(n)->isVisible())
            fenetre(n)->miseAJour();
    parametresModifiesSlot();
}

// ---- Network panel

// A failed bind leaves the button unchecked and says why under the feed's state.
void Feuille::mainFeuilleConnexionToolButtonSlot()
{
    remplirTableAdresses();
    if (!ui->mainFeuilleConnexionToolButton->isChecked())
        station->delier();
    else if (!station->lier(parametres.portUdp))
        ui->mainFeuilleConnexionToolButton->setChecked(false);
    if (station->prendreFenetresAReprendre())
        reprendreFenetres();
}

void Feuille::mainFeuilleQuitterToolButtonSlot()
{
    close();
}

void Feuille::remplirTableAdresses()
{
    auto *modele = modeleAdresses(lignesAdressesMin, this);
    QTableView *vue = ui->mainFeuilleReseauAdressesIpTableView;
    QAbstractItemModel *ancienModele = vue->model();
    QItemSelectionModel *ancienneSelection = vue->selectionModel();
    vue->setModel(modele);
    delete ancienneSelection;
    delete ancienModele;
    vue->setCurrentIndex(modele->index(0, 0));
    vue->setStyleSheet(Apparence::styleTableAdresses);
}

void Feuille::reseauParametrageSlot()
{
    ui->mainFeuilleReseauPortLineEdit->setText(parametres.portUdp);
}

void Feuille::reseauPortLineEditSlot()
{
    parametres.portUdp = ui->mainFeuilleReseauPortLineEdit->text();
    station->reseau()->connexionReseauUdp();
}

// The station publishes the state itself, on the same signal.
void Feuille::reseauUpdateAffichageSlot()
{
    for (int n = 1; n <= nombreFenetres; ++n)
        if (fenetre(n)->isVisible())
            fenetre(n)->miseAJour();
}

// ---- Display window commands, one implementation for the five buttons

void Feuille::basculerFenetre(int n)
{
    FenetreAffichage *f = fenetre(n);
    QToolButton *bouton = boutonFenetre(n);

    if (bouton->isChecked()) {
        f->afficherALaPlace();
        if (n == 2)
            f->miseAJour();
    } else {
        f->hide();
    }

    if (!f->isVisible()) {
        bouton->setChecked(false);
        f->retenirPlace();
        sauverParametres();
    }
}

void Feuille::afficherMenuFenetre(int n, QPoint pos)
{
    auto *menu = new QMenu(this);
    menu->setStyleSheet(Apparence::styleMenuContextuel);
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);

    auto *centrer = new QAction(QStringLiteral(" ") + tr("Recentrer sur l'écran principal"), menu);
    connect(centrer, &QAction::triggered, this, slotsFenetres[n - 1].centrer);
    menu->addAction(centrer);
    if (slotsFenetres[n - 1].agrandir) {
        auto *agrandir =
            new QAction(QStringLiteral(" ") + tr("Dimensionner à la taille de l'écran"), menu);
        connect(agrandir, &QAction::triggered, this, slotsFenetres[n - 1].agrandir);
        menu->addAction(agrandir);
    }
    menu->popup(boutonFenetre(n)->mapToGlobal(pos));
}

void Feuille::centrerFenetre(int n)
{
    // Near the control window, where the operator looks.
    fenetre(n)->recentrerSur(QRect(x(), y(), width(), height()));
    boutonFenetre(n)->setChecked(true);
}

void Feuille::agrandirFenetre(int n)
{
    FenetreAffichage *f = fenetre(n);
    f->showNormal();
    f->agrandirAEcran();
    f->show();
    boutonFenetre(n)->setChecked(true);
}

void Feuille::ecranSeriesToolButtonSlot()
{
    basculerFenetre(1);
}
void Feuille::ecranSeriesMenuToolButtonSlot(QPoint pos)
{
    afficherMenuFenetre(1, pos);
}
void Feuille::ecranSeriesMenuCentrerSlot()
{
    centrerFenetre(1);
}
void Feuille::ecranSeriesMenuAgrandirSlot()
{
    agrandirFenetre(1);
}

void Feuille::ecranPreparationToolButtonSlot()
{
    basculerFenetre(2);
}
void Feuille::ecranPreparationMenuToolButtonSlot(QPoint pos)
{
    afficherMenuFenetre(2, pos);
}
void Feuille::ecranPreparationMenuCentrerSlot()
{
    centrerFenetre(2);
}
void Feuille::ecranPreparationMenuAgrandirSlot()
{
    agrandirFenetre(2);
}

void Feuille::ecranEpreuvesToolButtonSlot()
{
    basculerFenetre(3);
}
void Feuille::ecranEpreuvesMenuToolButtonSlot(QPoint pos)
{
    afficherMenuFenetre(3, pos);
}
void Feuille::ecranEpreuvesMenuCentrerSlot()
{
    centrerFenetre(3);
}
void Feuille::ecranEpreuvesMenuAgrandirSlot()
{
    agrandirFenetre(3);
}

void Feuille::ecranCoupeToolButtonSlot()
{
    basculerFenetre(4);
}
void Feuille::ecranCoupeMenuToolButtonSlot(QPoint pos)
{
    afficherMenuFenetre(4, pos);
}
void Feuille::ecranCoupeMenuCentrerSlot()
{
    centrerFenetre(4);
}
void Feuille::ecranCoupeMenuAgrandirSlot()
{
    agrandirFenetre(4);
}

void Feuille::ecranEpreuveCouranteToolButtonSlot()
{
    basculerFenetre(5);
}
void Feuille::ecranEpreuveCouranteMenuToolButtonSlot(QPoint pos)
{
    afficherMenuFenetre(5, pos);
}
void Feuille::ecranEpreuveCouranteMenuCentrerSlot()
{
    centrerFenetre(5);
}
