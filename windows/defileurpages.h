#ifndef DEFILEURPAGES_H
#define DEFILEURPAGES_H

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;

// A thin bar along a window's bottom edge that fills during the time of a page.
class BarrePage final : public QWidget
{
    Q_OBJECT

public:
    explicit BarrePage(QWidget *fenetre);
    void lancer(int dureeMs);
    void arreter();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QElapsedTimer debut;
    QTimer animation;
    int duree = 1;
};

// The pages of a window whose list does not fit: each page shows for the settings' page
// time, the first one (the leaders) half as long again, then the next one, wrapping. While
// there is more than one page, "Page 2/3" at the header's corner and the bar tell the room
// that more is coming.
class DefileurPages final : public QObject
{
    Q_OBJECT

public:
    explicit DefileurPages(QWidget *fenetre);

    int nombre() const { return pages; }
    int courante() const { return page; }

    // The drawing's count of pages; the page shown is kept, clamped when pages went away.
    // With imposee >= 0, that page is shown instead, its time restarted if it changed.
    // Returns the page to draw.
    int definir(int nombre, int imposee = -1);
    // The next page now, wrapping, its time restarted.
    void suivante();
    // Back to that page, and no more turning until the next drawing.
    void arreterSur(int page);
    // The window was shown or hidden: pages turn only while the room can see them.
    void activer(bool visible);
    // Places the label at the corner of the header and the bar along the bottom edge.
    void placer(const QRect &entete);

signals:
    // Time to draw another page; precedente is the page shown until now.
    void pageChangeeSignal(int precedente);

private:
    void indiquer();
    void relancer();

    QWidget *fenetre;
    QLabel *etiquette;
    BarrePage *barre;
    QTimer minuterie;
    QRect entete;
    int pages = 1;
    int page = 0;
    bool actif = false;
    bool arrete = false;
};

#endif
