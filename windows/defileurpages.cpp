#include "windows/defileurpages.h"

#include "core/parametres.h"
#include "windows/apparence.h"

#include <QLabel>
#include <QPainter>

namespace
{
constexpr int hauteurBarre = 4;
constexpr int imagesParSeconde = 25;
} // namespace

BarrePage::BarrePage(QWidget *fenetre) : QWidget(fenetre)
{
    setObjectName(QStringLiteral("barrePage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    animation.setInterval(1000 / imagesParSeconde);
    connect(&animation, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    hide();
}

void BarrePage::lancer(int dureeMs)
{
    duree = qMax(1, dureeMs);
    debut.start();
    animation.start();
    show();
    raise();
    update();
}

void BarrePage::arreter()
{
    animation.stop();
    hide();
}

void BarrePage::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    const qreal part = debut.isValid() ? qMin<qreal>(1, qreal(debut.elapsed()) / duree) : 0;
    const int rempli = int(part * width());
    peintre.fillRect(0, 0, rempli, height(), Apparence::cyan);
    peintre.fillRect(rempli, 0, width() - rempli, height(), Qt::black);
}

DefileurPages::DefileurPages(QWidget *fenetre)
    : QObject(fenetre), fenetre(fenetre), etiquette(new QLabel(fenetre)),
      barre(new BarrePage(fenetre))
{
    etiquette->setObjectName(QStringLiteral("pageLabel"));
    etiquette->setAlignment(Qt::AlignCenter);
    etiquette->setAutoFillBackground(true);
    QPalette palette = etiquette->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Apparence::cyan);
    etiquette->setPalette(palette);
    QFont fonte = etiquette->font();
    fonte.setPointSize(11);
    fonte.setBold(true);
    etiquette->setFont(fonte);
    etiquette->hide();
    minuterie.setSingleShot(true);
    minuterie.setTimerType(Qt::PreciseTimer); // a page never turns early
    connect(&minuterie, &QTimer::timeout, this, &DefileurPages::suivante);
}

int DefileurPages::definir(int nombre, int imposee)
{
    const int pagesAvant = pages;
    const int pageAvant = page;
    pages = qMax(1, nombre);
    page = qMin(imposee >= 0 ? imposee : page, pages - 1);
    // A new frame keeps the page and its running time; only a page that changed, or pages
    // that just appeared, start a time.
    if (page != pageAvant || (pagesAvant == 1) != (pages == 1) || arrete)
        relancer();
    else
        indiquer();
    return page;
}

void DefileurPages::suivante()
{
    const int precedente = page;
    page = (page + 1) % pages;
    arrete = false;
    // The page's time starts once the window has drawn it, so a slow drawing never shortens
    // it; unless that drawing stopped the pages.
    emit pageChangeeSignal(precedente);
    if (!arrete)
        relancer();
}

void DefileurPages::arreterSur(int numero)
{
    page = qBound(0, numero, pages - 1);
    minuterie.stop();
    barre->arreter();
    arrete = true;
    indiquer();
}

void DefileurPages::activer(bool visible)
{
    actif = visible;
    relancer();
}

void DefileurPages::placer(const QRect &zoneEntete)
{
    entete = zoneEntete;
    const QSize taille = etiquette->sizeHint() + QSize(12, 0);
    // Astride the header's top border, at its right end, like a tab.
    etiquette->setGeometry(QRect(
        QPoint(entete.right() - 16 - taille.width(), qMax(0, entete.top() - taille.height() / 2)),
        taille));
    barre->setGeometry(0, fenetre->height() - hauteurBarre, fenetre->width(), hauteurBarre);
}

void DefileurPages::indiquer()
{
    const bool plusieurs = pages > 1;
    etiquette->setVisible(plusieurs);
    if (!plusieurs)
        return;
    etiquette->setText(QStringLiteral("Page %1/%2").arg(page + 1).arg(pages));
    placer(entete);
    etiquette->raise();
}

void DefileurPages::relancer()
{
    arrete = false;
    minuterie.stop();
    indiquer();
    if (pages == 1 || !actif) {
        barre->arreter();
        return;
    }
    // The leaders stay half as long again.
    const int duree = parametres.dureePage * (page == 0 ? 1500 : 1000);
    minuterie.start(duree);
    barre->lancer(duree);
}
