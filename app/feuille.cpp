#include "app/feuille.h"
#include "ui_feuille.h"

#include "app/options.h"
#include "app/pageresultats.h"
#include "app/publication.h"
#include "app/veilleecran.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "network/relais.h"
#include "network/reseau.h"
#include "version.h"
#include "windows/apparence.h"
#include "windows/fenetreaffichage.h"
#include "windows/win1.h"
#include "windows/win2.h"
#include "windows/win3.h"
#include "windows/win4.h"
#include "windows/win5.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDebug>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QSettings>
#include <QStandardItemModel>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

namespace
{
constexpr int lignesAdressesMin = 6;
// A burst of changes (a drag) is written once, and never later than a second after the
// first of them.
constexpr int regroupementMs = 300;
constexpr int delaiSauvegardeMaxMs = 900;
constexpr int periodeEtatFluxMs = 1000;
constexpr int tamponReception = 4 * 1024 * 1024;

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
} // namespace

Feuille::Feuille(QWidget *parent)
    : QMainWindow(parent), sauvegarde(new QTimer(this)), minuterieEtatFlux(new QTimer(this)),
      ui(new Ui::Feuille), reseau(nullptr), fenetre1(nullptr), fenetre2(nullptr), fenetre3(nullptr),
      fenetre4(nullptr), fenetre5(nullptr)
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
    sauvegarde->setSingleShot(true);
    connect(sauvegarde, &QTimer::timeout, this, &Feuille::sauverParametres);

    connect(ui->mainFeuilleConnexionToolButton, &QToolButton::clicked, this,
            &Feuille::mainFeuilleConnexionToolButtonSlot);
    connect(ui->mainFeuilleQuitterToolButton, &QToolButton::clicked, this,
            &Feuille::mainFeuilleQuitterToolButtonSlot);
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
    // Off until a datagram arrives: a silent feed must not look live.
    ui->mainFeuilleReseauLedVerteToolButton->hide();
    QStringList invalides;
    reseau->definirSources(adressesDepuis(parametres.sources, &invalides));
    if (!invalides.isEmpty())
        qDebug() << "sources ignorées, adresses invalides :" << invalides;
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

// ---- Settings file

void Feuille::chargerParametres()
{
    qDebug() << "void Feuille::chargerParametres()" << QThread::currentThreadId();
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    restoreGeometry(fichier.value(QStringLiteral("Fenetre/Geometry")).toByteArray());
    lireParametres(fichier);

    for (int n = 1; n <= fenetresAvecTailleFonte; ++n) {
        const int taille = parametres.fenetresInfo[n - 1].TailleFonte;
        curseurTailleFonte(n)->setValue(taille);
        etiquetteTailleFonte(n)->setText(texteTailleFonte(taille));
    }
    ui->reprendreCheckBox->setChecked(parametres.reprendre);
    reprisePrevue = parametres.reprendre;
}

// QSettings replaces the file atomically (a temporary file renamed over it): a power cut
// leaves the old file or the new one, never half of one.
void Feuille::sauverParametres()
{
    sauvegarde->stop();
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    fichier.clear();
    fichier.setValue(QStringLiteral("Fenetre/Geometry"), saveGeometry());
    ecrireParametres(fichier);
    fichier.sync();
    qDebug() << "paramètres enregistrés";
}

void Feuille::parametresModifiesSlot()
{
    if (!sauvegarde->isActive())
        premiereModification.start();
    const qint64 reste = delaiSauvegardeMaxMs - premiereModification.elapsed();
    sauvegarde->start(int(qBound(qint64(0), reste, qint64(regroupementMs))));
}

void Feuille::appliquerOptions(const OptionsStation &options)
{
    if (options.sourcesDonnees)
        reseau->definirSources(options.sources);
    if (!options.enregistrement.isEmpty()) {
        QString erreur;
        if (!reseau->enregistrerDans(options.enregistrement, &erreur)) {
            qDebug().noquote() << "enregistrement impossible :" << erreur;
            noteEnregistrement = tr("Enregistrement impossible : %1").arg(erreur);
            etatFluxSlot();
        }
    }
    reprisePrevue = reprisePrevue || options.reprendre;
    ouvrirPageResultats(options.webPort >= 0 ? options.webPort : parametres.webPort);
    ouvrirRelais(options.relaisDonne ? options.relais : parametres.relais);
}

// The results page, when a port is asked. A port that cannot be opened is said in red;
// the station carries on without the page.
void Feuille::ouvrirPageResultats(int port)
{
    QLabel *etiquette = ui->webAdressesLabel;
    if (port <= 0)
        return;
    auto *page = new PageResultats(this);
    QString erreur;
    if (!page->demarrer(port, parametres.webAdresse, &erreur)) {
        delete page;
        qDebug().noquote() << "page des résultats impossible :" << erreur;
        etiquette->setText(tr("Page des résultats impossible : %1").arg(erreur));
        QPalette palette = etiquette->palette();
        palette.setColor(QPalette::Active, QPalette::WindowText, Apparence::rouge);
        palette.setColor(QPalette::Inactive, QPalette::WindowText, Apparence::rouge);
        etiquette->setPalette(palette);
        return;
    }
    pageResultats = page;
    const QStringList adresses = page->adresses();
    qDebug().noquote() << "page des résultats :" << adresses.join(QStringLiteral(" "));
    etiquette->setText(tr("Résultats en direct :") + QLatin1Char('\n') +
                       adresses.join(QLatin1Char('\n')));
    FenetreAffichage::definirAdresseResultats(adresses.constFirst());
    publierEtat();
}

// The relay, when an address is set. A bad one is said in red and leaves the relay off;
// the page and the windows go on as before.
void Feuille::ouvrirRelais(const QString &adresse)
{
    if (adresse.isEmpty())
        return;
    const QUrl url = Relais::adresseDepuis(adresse);
    if (url.isEmpty()) {
        qDebug().noquote() << "relais ignoré, adresse invalide :" << adresse;
        afficherEtatRelais();
        return;
    }
    relais = new Relais(url, parametres.relaisJeton, this);
    connect(relais, &Relais::etatChange, this, &Feuille::afficherEtatRelais);
    afficherEtatRelais();
    publierEtat();
}

void Feuille::afficherEtatRelais()
{
    QString raison;
    if (!relais)
        raison = tr("adresse invalide");
    else if (!relais->aJour())
        raison = relais->raison().isEmpty() ? tr("envoi en cours") : relais->raison();
    QLabel *etiquette = ui->etatRelais;
    etiquette->setText(tr("Relais : %1").arg(raison.isEmpty() ? tr("à jour") : raison));
    QPalette palette = etiquette->palette();
    // Sending the first state is not a fault: only a failure is red.
    const QColor couleur =
        relais && relais->raison().isEmpty() ? Apparence::blanc : Apparence::rouge;
    palette.setColor(QPalette::Active, QPalette::WindowText, couleur);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, couleur);
    etiquette->setPalette(palette);
}

// The document is written on the publishing thread; this one only takes the snapshot.
void Feuille::publierEtat()
{
    if (!pageResultats && !relais)
        return;
    if (!publication) {
        publication = new Publication(this);
        connect(publication, &Publication::documentPret, this, [this](const QByteArray &etat) {
            if (pageResultats)
                pageResultats->publier(etat);
            if (relais)
                relais->publier(etat);
        });
    }
    publication->publier(reseau->etatFlux().msDepuisDerniere);
}

void Feuille::etatFluxSlot()
{
    const TexteEtatFlux etat = texteEtatFlux(reseau->etatFlux(), parametres.silenceAlerte);
    QString texte = etat.texte;
    if (!noteEnregistrement.isEmpty())
        texte += QLatin1Char('\n') + noteEnregistrement;
    QLabel *etiquette = ui->etatFluxLabel;
    etiquette->setText(texte);
    QPalette palette = etiquette->palette();
    const QColor couleur =
        etat.alerte || !noteEnregistrement.isEmpty() ? Apparence::rouge : Apparence::blanc;
    palette.setColor(QPalette::Active, QPalette::WindowText, couleur);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, couleur);
    etiquette->setPalette(palette);
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
        deconnecterReseau();
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
    auto *modele = new QStandardItemModel(0, 2, this);
    modele->setHorizontalHeaderLabels({tr("Adresse IP"), tr("Réseau")});

    QTableView *vue = ui->mainFeuilleReseauAdressesIpTableView;
    QAbstractItemModel *ancienModele = vue->model();
    QItemSelectionModel *ancienneSelection = vue->selectionModel();
    vue->setModel(modele);
    delete ancienneSelection;
    delete ancienModele;

    int ligne = 0;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto drapeaux = interface.flags();
        if (!drapeaux.testFlag(QNetworkInterface::IsRunning) ||
            drapeaux.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entrees = interface.addressEntries();
        for (const QNetworkAddressEntry &entree : entrees) {
            if (entree.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            modele->setRowCount(ligne + 1);
            modele->setItem(ligne, 0, new QStandardItem(entree.ip().toString()));
            modele->setItem(ligne, 1, new QStandardItem(interface.humanReadableName()));
            ++ligne;
        }
    }
    modele->setRowCount(qMax(ligne, lignesAdressesMin));
    vue->setCurrentIndex(modele->index(0, 0));
    vue->setStyleSheet(Apparence::styleTableAdresses);
}

void Feuille::connecterReseau()
{
    if (!socketUdp) {
        refuserConnexion(QStringLiteral("aucun port saisi"));
        return;
    }
    bool valide = false;
    const quint16 port = parametres.portUdp.toUShort(&valide, 10);
    if (!valide || port == 0) {
        refuserConnexion(QStringLiteral("port invalide ") + parametres.portUdp);
        return;
    }
    if (!socketUdp->bind(port, QAbstractSocket::DefaultForPlatform)) {
        refuserConnexion(socketUdp->errorString());
        return;
    }
    qDebug() << "bind" << parametres.portUdp << socketUdp->peerPort();
    // Room for a burst of frames while the windows redraw.
    socketUdp->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, tamponReception);
    socketUdp->writeDatagram(annonceStation, qstrlen(annonceStation),
                             QHostAddress(QHostAddress::Broadcast), port);
}

void Feuille::refuserConnexion(const QString &raison)
{
    qDebug() << "bind impossible :" << raison;
    ui->mainFeuilleConnexionToolButton->setChecked(false);
}

void Feuille::deconnecterReseau()
{
    if (socketUdp && socketUdp->isValid()) {
        socketUdp->disconnectFromHost();
        qDebug() << "déconnexion";
    }
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
    for (int n = 1; n <= nombreFenetres; ++n)
        if (fenetre(n)->isVisible())
            fenetre(n)->miseAJour();
    publierEtat();
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
