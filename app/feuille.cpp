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
    for (int n = 1; n <= nombreFenetres; ++n) {
        const QString nom = QStringLiteral("mainWindow%1").arg(n);
        commandes[n - 1] = {nullptr, findChild<QToolButton *>(nom + QLatin1String("ToolButton")),
                            findChild<QSlider *>(nom + QLatin1String("TailleFonteSlider")),
                            findChild<QLabel *>(nom + QLatin1String("TailleFonteLabel"))};
        if (n <= fenetresAvecTailleFonte)
            curseurTailleFonte(n)->setRange(tailleFonteMin, tailleFonteMax);
    }
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
    for (int n = 1; n <= nombreFenetres; ++n) {
        const bool visible = fenetre(n)->isVisible();
        fenetre(n)->close();
        parametres.fenetresInfo[n - 1].Visible = visible;
    }
    sauverParametres();
    event->accept();
}

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
