#include "windows/fenetreaffichage.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/apparence.h"
#include "windows/defileurpages.h"
#include "windows/encartadresse.h"
#include "windows/ressources.h"
#include "windows/scene.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGraphicsView>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace
{
// The size of a window brought back near the control window.
constexpr QSize tailleCentree(800, 600);
// Less than this on every screen present, and a stored place cannot be found by the
// operator (a projector unplugged since).
constexpr int visibleMin = 100;

bool placeVisible(const QRect &place)
{
    const auto ecrans = QGuiApplication::screens();
    for (const QScreen *ecran : ecrans) {
        const QRect vue = place.intersected(ecran->geometry());
        if (vue.width() >= visibleMin && vue.height() >= visibleMin)
            return true;
    }
    return false;
}

QRect zoneEcranPrincipal()
{
    const QScreen *ecran = QGuiApplication::primaryScreen();
    return ecran ? ecran->availableGeometry() : QRect();
}

QRect centreeSurEcranPrincipal(const QSize &taille)
{
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, taille, zoneEcranPrincipal());
}

// Where the mouse is in the widget that received the event.
QPoint pointSouris(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position().toPoint();
#else
    return event->pos();
#endif
}
} // namespace

QScreen *ecranContenant(const QPoint &point)
{
    if (QScreen *ecran = QGuiApplication::screenAt(point))
        return ecran;
    QScreen *plusProche = QGuiApplication::primaryScreen();
    qint64 distanceMin = -1;
    const auto ecrans = QGuiApplication::screens();
    for (QScreen *ecran : ecrans) {
        const QRect r = ecran->geometry();
        const qint64 dx = qMax(qMax(r.left() - point.x(), point.x() - r.right()), 0);
        const qint64 dy = qMax(qMax(r.top() - point.y(), point.y() - r.bottom()), 0);
        const qint64 distance = dx * dx + dy * dy;
        if (distanceMin < 0 || distance < distanceMin) {
            distanceMin = distance;
            plusProche = ecran;
        }
    }
    return plusProche;
}

FenetreAffichage::FenetreAffichage(int numero, QWidget *parent)
    : QWidget(parent), numeroFenetre(numero), defileur(new DefileurPages(this))
{
    initialiserRessources();
    connect(defileur, &DefileurPages::pageChangeeSignal, this, [this](int precedente) {
        dejaDessinee = false;
        miseAJour();
        // A refresh that keeps its drawing (no rows, no event) stops the pages on the page
        // it shows.
        if (!dejaDessinee)
            defileur->arreterSur(precedente);
    });
}

int FenetreAffichage::nombrePages() const
{
    return defileur->nombre();
}

int FenetreAffichage::pageCourante() const
{
    return defileur->courante();
}

void FenetreAffichage::pageSuivante()
{
    defileur->suivante();
}

int FenetreAffichage::choisirPage(int nombre, int imposee)
{
    return defileur->definir(nombre, imposee);
}

QRect FenetreAffichage::zoneEncart() const
{
    return encart ? QRect(vue->mapFrom(this, encart->pos()), encart->size()) : QRect();
}

bool FenetreAffichage::zoneLibre(const QRectF &zone) const
{
    return QRectF(vue->rect()).contains(zone) && !zone.intersects(zoneEncart());
}

int FenetreAffichage::hauteurLibre() const
{
    const QRect coin = zoneEncart();
    return coin.isValid() && coin.top() < vue->height() ? qMax(0, coin.top()) : vue->height();
}

void FenetreAffichage::installerCadre(QAbstractScrollArea *vuePrincipale, bool avecAgrandir,
                                      QLabel *tempsEcouleLabel, QLabel *tempsRestantLabel)
{
    vue = vuePrincipale;
    agrandissable = avecAgrandir;
    chronoEcoule = tempsEcouleLabel;
    chronoRestant = tempsRestantLabel;
    setWindowFlags(Qt::CustomizeWindowHint);
    connect(vue, &QWidget::customContextMenuRequested, this, &FenetreAffichage::menuAfficherSlot);
    vue->viewport()->installEventFilter(this);
}

void FenetreAffichage::afficherChronometres()
{
    if (chronoEcoule)
        chronoEcoule->setText(tempsEcoule);
    if (chronoRestant)
        chronoRestant->setText(tempsRestant);
}

FenetreInfo &FenetreAffichage::info() const
{
    return parametres.fenetresInfo[numeroFenetre - 1];
}

bool FenetreAffichage::aRedessiner(Empreinte entrees)
{
    entrees << vue->width() << vue->height() << info().TailleFonte;
    if (dejaDessinee && entrees.valeur() == derniereEmpreinte)
        return false;
    dejaDessinee = true;
    derniereEmpreinte = entrees.valeur();
    return true;
}

void FenetreAffichage::dessinerScene()
{
    if (!scene) {
        scene = creerScene();
        scene->setItemIndexMethod(QGraphicsScene::NoIndex);
        static_cast<QGraphicsView *>(vue)->setScene(scene);
    }
    scene->commencer();
    scene->dessiner();
    scene->terminer();
    emit sceneDessineeSignal();
}

void FenetreAffichage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (const auto *entete = findChild<QGroupBox *>(QStringLiteral("topGroupBox")))
        defileur->placer(entete->geometry());
    redimensionnee();
}

void FenetreAffichage::deplacerVers(const QPoint &coin)
{
    enregistrerPlace(QRect(coin, placeEnregistree().size()));
    move(coin);
}

void FenetreAffichage::mousePressEvent(QMouseEvent *event)
{
    positionPresse = pointSouris(event);
    widgetPresse = QApplication::widgetAt(QCursor::pos());
}

void FenetreAffichage::mouseMoveEvent(QMouseEvent *event)
{
    if (widgetPresse)
        deplacerVers(pos() + pointSouris(event) - positionPresse);
}

bool FenetreAffichage::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        positionPresseVue = pointSouris(static_cast<QMouseEvent *>(event));
    } else if (event->type() == QEvent::MouseMove &&
               QGuiApplication::mouseButtons() == Qt::LeftButton) {
        deplacerVers(pos() + pointSouris(static_cast<QMouseEvent *>(event)) - positionPresseVue);
    }
    return false;
}

void FenetreAffichage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    defileur->activer(true);
    info().Visible = true;
    emit parametresModifiesSignal();
}

void FenetreAffichage::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    defileur->activer(false);
    info().Visible = false;
    retenirPlace();
}

// The settings record and the window's place meet here and nowhere else.
QRect FenetreAffichage::placeEnregistree() const
{
    return QRect(info().X, info().Y, info().L, info().H);
}

void FenetreAffichage::enregistrerPlace(const QRect &place)
{
    info().X = place.x();
    info().Y = place.y();
    info().L = place.width();
    info().H = place.height();
    info().PlaceConnue = true;
    emit parametresModifiesSignal();
}

void FenetreAffichage::retenirPlace()
{
    enregistrerPlace(QRect(pos(), size()));
}

void FenetreAffichage::placer(const QRect &place)
{
    enregistrerPlace(place);
    setGeometry(place);
    move(place.topLeft());
}

void FenetreAffichage::afficherALaPlace()
{
    const QRect place = placeEnregistree();
    // A place other than (0, 0) was always stored by the station.
    if (!info().PlaceConnue && place.topLeft().isNull())
        setGeometry(centreeSurEcranPrincipal(size()));
    else if (placeVisible(place))
        placer(place);
    else // the stored place is kept until the operator hides or moves the window
        setGeometry(centreeSurEcranPrincipal(place.size().boundedTo(zoneEcranPrincipal().size())));
    show();
}

void FenetreAffichage::recentrerSur(const QRect &zone)
{
    hide();
    placer(QRect(zone.x() + (zone.width() - tailleCentree.width()) / 2,
                 zone.y() + (zone.height() - tailleCentree.height()) / 2, tailleCentree.width(),
                 tailleCentree.height()));
    show();
}

void FenetreAffichage::menuAfficherSlot(QPoint pos)
{
    auto *menu = new QMenu(this);
    menu->setStyleSheet(Apparence::styleMenuContextuel);
    // A menu is built on every right click: let it go once it has closed.
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);

    auto *principale =
        new QAction(QStringLiteral(" ") + tr("Afficher la fenêtre principale"), menu);
    connect(principale, &QAction::triggered, this, &FenetreAffichage::menuFenetrePrincipaleSlot);
    auto *fermer = new QAction(QStringLiteral(" ") + tr("Fermer la fenêtre"), menu);
    fermer->setIcon(QIcon(QStringLiteral(":/icones/close.png")));
    connect(fermer, &QAction::triggered, this, &FenetreAffichage::menuFermerSlot);

    menu->addAction(principale);
    menu->addSeparator();
    if (!adresseResultats().isEmpty()) {
        auto *adresse =
            new QAction(QStringLiteral(" ") + tr("Afficher l'adresse des résultats"), menu);
        adresse->setCheckable(true);
        adresse->setChecked(adresseResultatsMontree());
        connect(adresse, &QAction::toggled, this, &FenetreAffichage::montrerAdresseResultats);
        menu->addAction(adresse);
    }
    if (agrandissable) {
        auto *agrandir =
            new QAction(QStringLiteral(" ") + tr("Dimensionner à la taille de l'écran"), menu);
        connect(agrandir, &QAction::triggered, this, &FenetreAffichage::menuAgrandirSlot);
        menu->addAction(agrandir);
    }
    menu->addAction(fermer);
    menu->popup(vue->viewport()->mapToGlobal(pos));
}

namespace
{
QString &adresseDesResultats()
{
    static QString adresse;
    return adresse;
}
} // namespace

void FenetreAffichage::definirAdresseResultats(const QString &adresse)
{
    adresseDesResultats() = adresse;
}

QString FenetreAffichage::adresseResultats()
{
    return adresseDesResultats();
}

void FenetreAffichage::montrerAdresseResultats(bool montrer)
{
    delete encart;
    encart = nullptr;
    if (montrer && !adresseResultats().isEmpty()) {
        encart = new EncartAdresse(adresseResultats(), this);
        encart->show();
    }
    // The pages leave the corner out.
    dejaDessinee = false;
    miseAJour();
}

void FenetreAffichage::menuAgrandirSlot()
{
    if (agrandissable)
        agrandirAEcran();
}

void FenetreAffichage::agrandirAEcran()
{
    const int margeL = frameGeometry().width() - geometry().width();
    const int margeH = frameGeometry().height() - geometry().height();
    const QScreen *ecran = ecranContenant(QPoint(x(), y()));
    if (!ecran) // no screen at all: nothing to fill
        return;
    const QRect zone = ecran->availableGeometry();
    placer(QRect(zone.left(), zone.top(), zone.width() - margeL, zone.height() - margeH));
}

void FenetreAffichage::menuFenetrePrincipaleSlot()
{
    const auto widgets = QApplication::allWidgets();
    for (QWidget *w : widgets) {
        if (w->objectName() == QLatin1String("feuillemain")) {
            w->activateWindow();
            return;
        }
    }
}

void FenetreAffichage::menuFermerSlot()
{
    close();
    const QString nomBouton = QStringLiteral("mainWindow%1ToolButton").arg(numeroFenetre);
    const auto widgets = QApplication::allWidgets();
    for (QWidget *w : widgets) {
        if (w->objectName() == nomBouton) {
            if (auto *bouton = qobject_cast<QToolButton *>(w))
                bouton->setChecked(false);
            return;
        }
    }
}
