#ifndef FENETREAFFICHAGE_H
#define FENETREAFFICHAGE_H

#include <QPoint>
#include <QStringList>
#include <QWidget>

class QAbstractScrollArea;
class QLabel;
class QScreen;
struct FenetreInfo;

// The five event names, indexed like the series slots of the contest data store.
const QStringList &listeNomsEpreuves();

// Style sheet of the right-click menus of the control window and of the display windows.
QString styleMenuContextuel();

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

    // Fills the available area of the screen holding the top-left corner.
    void agrandirAEcran();

public slots:
    void menuAfficherSlot(QPoint pos);
    void menuAgrandirSlot();
    void menuFenetrePrincipaleSlot();
    void menuFermerSlot();

protected:
    FenetreAffichage(int numero, QWidget *parent);

    // Called by each window once its form is built: the main view receives the menu and
    // the drag filter; the chronometer labels may be null.
    void installerCadre(QAbstractScrollArea *vuePrincipale, bool avecAgrandir,
                        QLabel *tempsEcouleLabel = nullptr, QLabel *tempsRestantLabel = nullptr);
    void afficherChronometres();
    FenetreInfo &info() const;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    QWidget *widgetPresse = nullptr;
    QPoint positionPresse;
    QPoint positionPresseVue;

private:
    void deplacerVers(int x, int y);

    const int numeroFenetre;
    QAbstractScrollArea *vue = nullptr;
    bool agrandissable = true;
    QLabel *chronoEcoule = nullptr;
    QLabel *chronoRestant = nullptr;
};

#endif
