#ifndef FENETREAFFICHAGE_H
#define FENETREAFFICHAGE_H

#include "core/empreinte.h"

#include <QPoint>
#include <QRectF>
#include <QStringList>
#include <QWidget>

class DefileurPages;
class EncartAdresse;
class QAbstractScrollArea;
class QLabel;
class QScreen;
class SceneFenetre;
struct FenetreInfo;

// The screen that holds a point, or the nearest one when none does; null without screens.
QScreen *ecranContenant(const QPoint &point);

// The frame shared by the five public windows: no title bar, dragged by the mouse, a
// right-click menu, and their place and size kept in the settings record when hidden.
class FenetreAffichage : public QWidget
{
    Q_OBJECT

public:
    // Redraws the window from the contest data store and the settings record.
    virtual void miseAJour() = 0;

    int numero() const { return numeroFenetre; }

    // Places, in logical pixels like every place of the settings file.
    // Shows the window at its stored place, or centred on the primary screen when it has
    // none.
    void afficherALaPlace();
    // Shows the window at the centring size, centred on the given area.
    void recentrerSur(const QRect &zone);
    // Fills the available area of the screen holding the top-left corner.
    void agrandirAEcran();
    // Copies the window's current place into the settings record.
    void retenirPlace();

    // The results page's address, offered by every window's right-click menu; empty while
    // no page is served, and then the menu does not offer it.
    static void definirAdresseResultats(const QString &adresse);
    static QString adresseResultats();
    // Its QR code in a corner of this window, until taken off.
    void montrerAdresseResultats(bool montrer);
    bool adresseResultatsMontree() const { return encart != nullptr; }

    // A list that does not fit shows in pages that turn by themselves; 1 when all fits.
    int nombrePages() const;
    int pageCourante() const; // from 0

    // For the drawings. The drawing tells its count of pages and gets the page to draw: the
    // one shown, kept and clamped, or imposee when given.
    int choisirPage(int nombre, int imposee = -1);
    // Whether a rectangle of the main view (a graphic window's scene) is seen whole: inside
    // the view and clear of the results page's corner.
    bool zoneLibre(const QRectF &zone) const;
    // The view's height above the results page's corner where it covers the view.
    int hauteurLibre() const;

signals:
    // The window's part of the settings record changed: place, size or shown state.
    void parametresModifiesSignal();
    // The scene was drawn anew; a refresh that changed nothing the window shows draws none.
    void sceneDessineeSignal();

public slots:
    void menuAfficherSlot(QPoint pos);
    void menuAgrandirSlot();
    void menuFenetrePrincipaleSlot();
    void menuFermerSlot();
    // The next page now, wrapping, its time restarted.
    void pageSuivante();

protected:
    FenetreAffichage(int numero, QWidget *parent);

    // Called by each window once its form is built: the main view receives the menu and
    // the drag filter; the chronometer labels may be null.
    void installerCadre(QAbstractScrollArea *vuePrincipale, bool avecAgrandir,
                        QLabel *tempsEcouleLabel = nullptr, QLabel *tempsRestantLabel = nullptr);
    void afficherChronometres();
    FenetreInfo &info() const;

    // False when the inputs (the store items the window reads), its view's size and its font step
    // are those of its last drawing: it keeps that drawing. True, and remembered, otherwise.
    bool aRedessiner(Empreinte entrees);

    // The graphic windows' scene, built at the first drawing (a window never shown costs
    // nothing) by creerScene(), then drawn again whole for the view's size.
    void dessinerScene();
    virtual SceneFenetre *creerScene() { return nullptr; }
    // After a resize: the graphic windows redraw; the table windows re-split their rows.
    virtual void redimensionnee() { miseAJour(); }

    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    QWidget *widgetPresse = nullptr;
    QPoint positionPresse;
    QPoint positionPresseVue;

private:
    void deplacerVers(const QPoint &coin);
    QRect placeEnregistree() const;
    void enregistrerPlace(const QRect &place);
    void placer(const QRect &place);
    QRect zoneEncart() const;

    const int numeroFenetre;
    QAbstractScrollArea *vue = nullptr;
    bool agrandissable = true;
    QLabel *chronoEcoule = nullptr;
    QLabel *chronoRestant = nullptr;
    SceneFenetre *scene = nullptr;
    EncartAdresse *encart = nullptr;
    DefileurPages *defileur;
    size_t derniereEmpreinte = 0;
    bool dejaDessinee = false;
};

#endif
