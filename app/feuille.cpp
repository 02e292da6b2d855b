#include "app/feuille.h"
#include "ui_feuille.h"

#include "app/dialoguereglages.h"
#include "app/diffusion.h"
#include "app/modeleadresses.h"
#include "app/options.h"
#include "app/veilleecran.h"
#include "core/donnees.h"
#include "core/memoireetat.h"
#include "core/parametres.h"
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
constexpr int periodeEtatFluxMs = 1000;

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
void ecrireEtat(QLabel *etiquette, const QString &texte, bool alerte)
{
    etiquette->setText(texte);
    QPalette palette = etiquette->palette();
    const QColor couleur = alerte ? Apparence::rouge : Apparence::blanc;
    palette.setColor(QPalette::Active, QPalette::WindowText, couleur);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, couleur);
    etiquette->setPalette(palette);
}
} // namespace

Feuille::Feuille(QWidget *parent)
    : QMainWindow(parent), minuterieEtatFlux(new QTimer(this)), ui(new Ui::Feuille),
      reglages(new Reglages(this)), reseau(nullptr), diffusionEtat(nullptr), memoire(nullptr),
      fenetre1(nullptr), fenetre2(nullptr), fenetre3(nullptr), fenetre4(nullptr), fenetre5(nullptr)
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
    setWindowTitle(QStringLiteral(VELLOR_TITRE));
    // Until the first refresh time replaces it.
    ui->mainFeuilleInfoLabel->setText(QStringLiteral(VELLOR_TITRE));
    chargerParametres();

    fenetre1 = new Win1(nullptr);
    fenetre2 = new Win2(nullptr);
    fenetre3 = new Win3(nullptr);
    fenetre4 = new Win4(nullptr);
    fenetre5 = new Win5(nullptr);

    epreuvesSeries = QVector<EpreuveSeries>(nombreEpreuves);
    FenetreAffichage *const fenetres[nombreFenetres] = {fenetre1, fenetre2, fenetre3, fenetre4,
                                                        fenetre5};
    for (int n = 1; n <= nombreFenetres; ++n) {
        commandes[n - 1].fenetre = fenetres[n - 1];
        connect(fenetres[n - 1], &FenetreAffichage::parametresModifiesSignal, this,
                &Feuille::parametresModifiesSlot);
    }
    // The public's screens stay awake while a window is shown.
    auto *veille = new VeilleEcran(this);
    for (int n = 1; n <= nombreFenetres; ++n)
        veille->surveiller(fenetre(n));

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

    reseau = new Reseau;
    diffusionEtat = new Diffusion(reseau, this);
    memoire = new MemoireEtat(cheminDernierEtat(), this);
    connect(reseau, &Reseau::trameDecodeeSignal, memoire, &MemoireEtat::retenir);
    ui->mainFeuilleReseauPortLineEdit->setText(parametres.portUdp);
    connect(reseau, &Reseau::reseauUpdateAffichageSignal, this,
            &Feuille::reseauUpdateAffichageSlot);
    connect(reseau, &Reseau::voyantReceptionSignal, ui->mainFeuilleReseauLedVerteToolButton,
            &QWidget::setVisible);
    connect(reseau, &Reseau::dureeMaxAffichageSignal, this, [this](double dureeMs) {
        ui->mainFeuilleInfoLabel->setText(QString::number(dureeMs, 'g', 6) + QStringLiteral(" ms"));
    });
    connect(reseau, &Reseau::enregistrementImpossibleSignal, this, [this](const QString &raison) {
        noteEnregistrement = tr("Enregistrement arrêté : %1").arg(raison);
        etatFluxSlot();
    });
    connect(diffusionEtat, &Diffusion::etatChange, this, &Feuille::afficherEtatDiffusion);
    connect(reglages, &Reglages::modifies, this, &Feuille::appliquerReglages);
    // Off until a datagram arrives: a silent feed must not look live.
    ui->mainFeuilleReseauLedVerteToolButton->hide();
    appliquerReglages(Reglages::Sources);
    connect(minuterieEtatFlux, &QTimer::timeout, this, &Feuille::etatFluxSlot);
    minuterieEtatFlux->start(periodeEtatFluxMs);
    etatFluxSlot();
    connect(ui->reprendreCheckBox, &QCheckBox::toggled, this, [this](bool coche) {
        parametres.reprendre = coche;
        parametresModifiesSlot();
    });
    connect(ui->mainFeuilleReseauPortLineEdit, &QLineEdit::textEdited, this,
            &Feuille::parametresModifiesSlot);

    // Listen without waiting for the operator.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    ui->mainFeuilleConnexionToolButton->animateClick(); // always 100 ms from Qt 6 on
#else
    ui->mainFeuilleConnexionToolButton->animateClick(100);
#endif
}

Feuille::~Feuille()
{
    // The windows and the receiver live until the process ends, which is now.
    delete dialogue;
    delete diffusionEtat;
    for (int n = 1; n <= nombreFenetres; ++n)
        delete fenetre(n);
    delete reseau;
    delete ui;
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

// ---- Settings

void Feuille::chargerParametres()
{
    qDebug() << "void Feuille::chargerParametres()" << QThread::currentThreadId();
    reglages->charger();
    for (int n = 1; n <= fenetresAvecTailleFonte; ++n) {
        const int taille = parametres.fenetresInfo[n - 1].TailleFonte;
        curseurTailleFonte(n)->setValue(taille);
        etiquetteTailleFonte(n)->setText(texteTailleFonte(taille));
    }
    ui->reprendreCheckBox->setChecked(parametres.reprendre);
    reprisePrevue = parametres.reprendre;
}

void Feuille::sauverParametres()
{
    reglages->sauver();
}

void Feuille::parametresModifiesSlot()
{
    reglages->modifie();
}

void Feuille::appliquerOptions(const OptionsStation &options)
{
    reglages->imposer(options);
    reprisePrevue = reprisePrevue || options.reprendre;
    if (reprisePrevue)
        reprendreEtat();
    appliquerReglages(Reglages::Sources | Reglages::Enregistrement | Reglages::Page |
                      Reglages::RelaisWeb);
}

void Feuille::appliquerReglages(Reglages::Parties parties)
{
    if (parties & Reglages::Sources) {
        QStringList illisibles;
        reseau->definirSources(reglages->sources(&illisibles), illisibles);
        if (!illisibles.isEmpty())
            qDebug() << "sources ignorées, adresses invalides :" << illisibles;
    }
    if (parties & Reglages::Enregistrement) {
        QString erreur;
        noteEnregistrement.clear();
        if (!reseau->enregistrerDans(reglages->enregistrement(), &erreur)) {
            qDebug().noquote() << "enregistrement impossible :" << erreur;
            noteEnregistrement = tr("Enregistrement impossible : %1").arg(erreur);
        }
    }
    // A page that cannot open is said in red; the station carries on without it.
    QString erreur;
    if (parties & Reglages::Page)
        diffusionEtat->ouvrirPage(reglages->portWeb(), parametres.webAdresse, &erreur);
    if (parties & Reglages::RelaisWeb)
        diffusionEtat->ouvrirRelais(reglages->relais(), parametres.relaisJeton);
    etatFluxSlot();
}

void Feuille::reprendreEtat()
{
    QString erreur;
    const QDateTime quand = memoire->reprendre(&erreur);
    etatReprisAffiche = quand.isValid();
    const QString heure =
        quand.toString(quand.date() == QDate::currentDate() ? QStringLiteral("HH:mm:ss")
                                                            : QStringLiteral("dd/MM HH:mm:ss"));
    noteReprise =
        etatReprisAffiche ? tr("État repris de %1, en attente de l'émetteur").arg(heure) : erreur;
    diffusionEtat->definirReprise(etatReprisAffiche ? heure : QString());
    etatFluxSlot();
}

void Feuille::afficherEtatDiffusion()
{
    bool alerte = false;
    const QString page = diffusionEtat->etatPage(&alerte);
    ecrireEtat(ui->webAdressesLabel, page, alerte);
    const QString relais = diffusionEtat->etatRelais(&alerte);
    ecrireEtat(ui->etatRelais, relais, alerte);
}

void Feuille::mainFeuilleReglagesToolButtonSlot()
{
    if (!dialogue) {
        dialogue = new DialogueReglages(reglages, diffusionEtat, reseau, this);
        dialogue->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialogue->show();
    dialogue->raise();
    dialogue->activateWindow();
}

void Feuille::etatFluxSlot()
{
    const TexteEtatFlux etat = texteEtatFlux(reseau->etatFlux(), parametres.silenceAlerte);
    QString texte = etat.texte;
    for (const QString &note : {noteReprise, noteEcoute, noteEnregistrement})
        if (!note.isEmpty())
            texte += QLatin1Char('\n') + note;
    const bool repriseRatee = !noteReprise.isEmpty() && !etatReprisAffiche;
    ecrireEtat(ui->etatFluxLabel, texte,
               etat.alerte || repriseRatee || !noteEcoute.isEmpty() ||
                   !noteEnregistrement.isEmpty());
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

void Feuille::mainFeuilleConnexionToolButtonSlot()
{
    remplirTableAdresses();
    if (ui->mainFeuilleConnexionToolButton->isChecked())
        connecterReseau();
    else
        reseau->delier();
    if (reprisePrevue) {
        reprisePrevue = false;
        reprendreFenetres();
    }
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

// A failed bind leaves the button unchecked and says why under the feed's state.
void Feuille::connecterReseau()
{
    QString raison;
    const bool lie = reseau->lier(parametres.portUdp, &raison);
    noteEcoute = lie ? QString() : tr("Écoute impossible : %1").arg(raison);
    if (!lie) {
        qDebug() << "bind impossible :" << raison;
        ui->mainFeuilleConnexionToolButton->setChecked(false);
    }
    etatFluxSlot();
}

void Feuille::reseauParametrageSlot()
{
    ui->mainFeuilleReseauPortLineEdit->setText(parametres.portUdp);
}

void Feuille::reseauPortLineEditSlot()
{
    parametres.portUdp = ui->mainFeuilleReseauPortLineEdit->text();
    reseau->connexionReseauUdp();
}

void Feuille::reseauUpdateAffichageSlot()
{
    if (etatReprisAffiche && reseau->etatFlux().msDepuisDerniere >= 0) {
        etatReprisAffiche = false;
        noteReprise.clear();
        diffusionEtat->definirReprise(QString());
        etatFluxSlot();
    }
    for (int n = 1; n <= nombreFenetres; ++n)
        if (fenetre(n)->isVisible())
            fenetre(n)->miseAJour();
    diffusionEtat->publier();
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
