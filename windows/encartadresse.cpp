#include "windows/encartadresse.h"

#include "windows/codeqr.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace
{
constexpr int bord = 12;        // white around the code and the text
constexpr int pixelsModule = 6; // a size phones read from a few metres
constexpr int ecartFenetre = 16;
} // namespace

EncartAdresse::EncartAdresse(const QString &adresse, QWidget *fenetre)
    : QWidget(fenetre), texte(adresse), code(imageCodeQr(adresse))
{
    setObjectName(QStringLiteral("encartAdresseResultats"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont fonte = font();
    fonte.setPointSize(14);
    fonte.setBold(true);
    setFont(fonte);
    const QFontMetrics mesures(fonte);
    const int coteCode = code.width() * pixelsModule;
    resize(qMax(coteCode, mesures.horizontalAdvance(texte)) + 2 * bord,
           coteCode + mesures.height() + 2 * bord);
    fenetre->installEventFilter(this);
    placer();
    raise();
}

bool EncartAdresse::eventFilter(QObject *objet, QEvent *event)
{
    if (objet == parent() && event->type() == QEvent::Resize)
        placer();
    return QWidget::eventFilter(objet, event);
}

void EncartAdresse::placer()
{
    const QWidget *fenetre = parentWidget();
    move(qMax(0, fenetre->width() - width() - ecartFenetre),
         qMax(0, fenetre->height() - height() - ecartFenetre));
}

void EncartAdresse::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    peintre.fillRect(rect(), Qt::white);
    const int coteCode = code.width() * pixelsModule;
    // Whole pixels a module, unsmoothed: a blurred module reads badly.
    peintre.drawImage(QRect((width() - coteCode) / 2, bord, coteCode, coteCode), code);
    peintre.setPen(Qt::black);
    peintre.drawText(QRect(0, bord + coteCode, width(), height() - bord - coteCode),
                     Qt::AlignCenter, texte);
}
