// Draws the six pictures of the station and writes them as PNG files, and the program's
// icon for Windows (icoutils' icotool).
//   generer-icones [folder]             writes into folder (default: icones/ of the sources)
//   generer-icones --apercus folder     writes previews at display size, on the real backgrounds
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtMath>

namespace
{

const QColor bleuNuit(12, 28, 66);
const QColor rouge(222, 36, 44);

QImage nouvelleImage(int largeur, int hauteur,
                     QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(largeur, hauteur, format);
    image.fill(Qt::transparent);
    // Fixed at 96 dpi: the files must not depend on the screen of the machine.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

QPainterPath cercle(QPointF centre, qreal rayon)
{
    QPainterPath chemin;
    chemin.addEllipse(centre, rayon, rayon);
    return chemin;
}

// A light aircraft seen from above (or from the ground, as it flies over): straight high wing,
// nose up, about 200 x 150 units around the origin.
struct Avion {
    QPainterPath aile;
    QPainterPath fuselage;
    QPainterPath empennage;
    QPainterPath derive;
    QPainterPath helice;
    QPainterPath silhouette() const
    {
        return aile.united(fuselage).united(empennage).united(derive).united(helice);
    }
};

Avion avion()
{
    Avion a;
    a.aile.moveTo(0, -24);
    a.aile.lineTo(91, -24);
    a.aile.cubicTo(99, -24, 100, -7, 92, -6);
    a.aile.lineTo(55, 0);
    a.aile.lineTo(-55, 0);
    a.aile.lineTo(-92, -6);
    a.aile.cubicTo(-100, -7, -99, -24, -91, -24);
    a.aile.closeSubpath();

    a.fuselage.moveTo(0, -68);
    a.fuselage.cubicTo(7, -68, 9, -60, 9, -50);
    a.fuselage.lineTo(10, -12);
    a.fuselage.cubicTo(10, 10, 5, 50, 3, 80);
    a.fuselage.lineTo(-3, 80);
    a.fuselage.cubicTo(-5, 50, -10, 10, -10, -12);
    a.fuselage.lineTo(-9, -50);
    a.fuselage.cubicTo(-9, -60, -7, -68, 0, -68);
    a.fuselage.closeSubpath();

    a.empennage.moveTo(0, 60);
    a.empennage.lineTo(29, 61);
    a.empennage.cubicTo(36, 61, 37, 72, 30, 73);
    a.empennage.lineTo(0, 76);
    a.empennage.lineTo(-30, 73);
    a.empennage.cubicTo(-37, 72, -36, 61, -29, 61);
    a.empennage.closeSubpath();

    a.derive.addRoundedRect(QRectF(-2, 52, 4, 30), 2, 2);

    a.helice.addEllipse(QPointF(-13, -70), 13, 2.6);
    a.helice.addEllipse(QPointF(13, -70), 13, 2.6);
    a.helice.addEllipse(QPointF(0, -70), 4.5, 4.5);
    a.helice.setFillRule(Qt::WindingFill);
    return a;
}

QPainterPath etoile(QPointF centre, qreal rayon)
{
    QPainterPath chemin;
    for (int i = 0; i < 10; ++i) {
        const qreal angle = qDegreesToRadians(i * 36.0 - 90.0);
        const qreal r = i % 2 ? rayon * 0.42 : rayon;
        const QPointF point = centre + QPointF(qCos(angle), qSin(angle)) * r;
        if (i == 0)
            chemin.moveTo(point);
        else
            chemin.lineTo(point);
    }
    chemin.closeSubpath();
    return chemin;
}

// Control window buttons: a display screen on its stand, showing a scoreboard.
QImage fenetres()
{
    QImage image = nouvelleImage(160, 100);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient pied(0, 76, 0, 98);
    pied.setColorAt(0, QColor(70, 74, 84));
    pied.setColorAt(1, QColor(28, 30, 36));
    p.setPen(QPen(QColor(15, 15, 20), 1.5));
    p.setBrush(pied);
    QPainterPath cou;
    cou.moveTo(70, 74);
    cou.lineTo(90, 74);
    cou.lineTo(95, 91);
    cou.lineTo(65, 91);
    cou.closeSubpath();
    p.drawPath(cou);
    p.drawRoundedRect(QRectF(44, 89, 72, 8), 4, 4);

    QLinearGradient cadre(0, 2, 0, 78);
    cadre.setColorAt(0, QColor(88, 94, 106));
    cadre.setColorAt(1, QColor(34, 36, 44));
    p.setPen(QPen(QColor(10, 10, 14), 2));
    p.setBrush(cadre);
    p.drawRoundedRect(QRectF(9, 3, 142, 75), 7, 7);

    const QRectF ecran(16, 10, 128, 61);
    QLinearGradient ciel(0, ecran.top(), 0, ecran.bottom());
    ciel.setColorAt(0, QColor(24, 62, 140));
    ciel.setColorAt(1, QColor(6, 16, 52));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(ciel);
    p.drawRect(ecran);

    // Header: logo and title, then the lines of the board in the display colours.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(QPointF(27, 20), 6.5, 6.5);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(39, 16, 70, 7), 3, 3);
    p.setBrush(QColor(0, 255, 255));
    p.drawRoundedRect(QRectF(115, 16, 22, 7), 3, 3);
    const QColor couleurs[] = {QColor(255, 240, 128), QColor(128, 255, 128), Qt::white,
                               QColor(255, 128, 128)};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 33 + i * 9;
        p.setBrush(QColor(0, 128, 255));
        p.drawRoundedRect(QRectF(22, y, 12, 6), 2, 2);
        p.setBrush(couleurs[i]);
        p.drawRoundedRect(QRectF(39, y, 62 - i * 9 % 20, 6), 3, 3);
        p.drawRoundedRect(QRectF(117, y, 20, 6), 3, 3);
    }

    // A reflection across the glass.
    QPainterPath reflet;
    reflet.moveTo(ecran.topLeft());
    reflet.lineTo(ecran.left() + 70, ecran.top());
    reflet.lineTo(ecran.left() + 30, ecran.bottom());
    reflet.lineTo(ecran.left(), ecran.bottom());
    reflet.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawPath(reflet);
    return image;
}

// Reception LED: a glossy green dome in a dark bezel.
QImage ledVerte()
{
    QImage image = nouvelleImage(64, 64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(32, 32);

    QRadialGradient halo(centre, 32);
    halo.setColorAt(0.75, QColor(90, 255, 90, 150));
    halo.setColorAt(1, QColor(90, 255, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, 32, 32);

    QLinearGradient bague(0, 4, 0, 60);
    bague.setColorAt(0, QColor(40, 44, 40));
    bague.setColorAt(1, QColor(150, 160, 150));
    p.setBrush(bague);
    p.drawEllipse(centre, 27.5, 27.5);

    QRadialGradient dome(QPointF(32, 36), 25, QPointF(30, 40));
    dome.setColorAt(0, QColor(200, 255, 170));
    dome.setColorAt(0.45, QColor(60, 230, 60));
    dome.setColorAt(0.85, QColor(10, 150, 30));
    dome.setColorAt(1, QColor(0, 90, 20));
    p.setBrush(dome);
    p.drawEllipse(centre, 24.5, 24.5);

    QLinearGradient brillance(0, 9, 0, 32);
    brillance.setColorAt(0, QColor(255, 255, 255, 230));
    brillance.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(brillance);
    p.drawEllipse(QRectF(17, 9.5, 30, 20));
    return image;
}

// Quit: a red power button with a white ring, readable on dark green and on orange.
QImage quitter()
{
    QImage image = nouvelleImage(64, 64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(32, 32);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 31, 31);
    QLinearGradient fond(0, 4, 0, 60);
    fond.setColorAt(0, QColor(250, 90, 80));
    fond.setColorAt(0.5, QColor(215, 30, 30));
    fond.setColorAt(1, QColor(140, 8, 12));
    p.setBrush(fond);
    p.drawEllipse(centre, 28, 28);

    QLinearGradient brillance(0, 5, 0, 34);
    brillance.setColorAt(0, QColor(255, 255, 255, 120));
    brillance.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(brillance);
    p.drawEllipse(QRectF(12, 5, 40, 28));

    // The power symbol, over a soft shadow.
    for (int passe = 0; passe < 2; ++passe) {
        const QPointF decalage = passe ? QPointF(0, 0) : QPointF(0, 1.2);
        const QColor couleur = passe ? QColor(Qt::white) : QColor(90, 0, 0, 150);
        p.setPen(QPen(couleur, 5.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18, 19, 28, 28).translated(decalage), 125 * 16, 290 * 16);
        p.drawLine(QPointF(32, 13) + decalage, QPointF(32, 31) + decalage);
    }
    return image;
}

// Context menu "close": a red round button with a white cross.
QImage fermer()
{
    QImage image = nouvelleImage(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fond(0, 1, 0, 31);
    fond.setColorAt(0, QColor(245, 85, 75));
    fond.setColorAt(1, QColor(170, 12, 16));
    p.setPen(QPen(QColor(120, 0, 0), 1.2));
    p.setBrush(fond);
    p.drawEllipse(QPointF(16, 16), 14.8, 14.8);
    p.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    return image;
}

// The station's logo: a light aircraft climbing in a sky badge with a gold rim.
QImage logo()
{
    QImage image = nouvelleImage(256, 256);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(128, 128);

    QLinearGradient or_(0, 4, 0, 252);
    or_.setColorAt(0, QColor(255, 232, 120));
    or_.setColorAt(0.5, QColor(245, 180, 40));
    or_.setColorAt(1, QColor(200, 120, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(or_);
    p.drawEllipse(centre, 125, 125);
    p.setBrush(bleuNuit);
    p.drawEllipse(centre, 118, 118);

    // Stars of the cup along the lower part of the band.
    p.setBrush(QColor(255, 215, 80));
    for (int i = -2; i <= 2; ++i) {
        const qreal angle = qDegreesToRadians(90.0 + i * 19);
        p.drawPath(etoile(centre + QPointF(qCos(angle), qSin(angle)) * 109.5, 8));
    }

    p.setBrush(or_);
    p.drawEllipse(centre, 101, 101);
    const QPainterPath disque = cercle(centre, 97);
    QLinearGradient ciel(0, 31, 0, 225);
    ciel.setColorAt(0, QColor(20, 100, 210));
    ciel.setColorAt(1, QColor(130, 205, 255));
    p.setBrush(ciel);
    p.drawPath(disque);

    p.save();
    p.setClipPath(disque);
    p.setBrush(QColor(255, 255, 255, 215));
    QPainterPath nuage;
    nuage.setFillRule(Qt::WindingFill);
    for (const QRectF &boule :
         {QRectF(40, 182, 60, 40), QRectF(70, 166, 56, 50), QRectF(108, 180, 56, 40),
          QRectF(150, 172, 52, 44), QRectF(184, 186, 50, 34), QRectF(30, 198, 200, 40)})
        nuage.addEllipse(boule);
    p.drawPath(nuage);
    p.restore();

    const Avion a = avion();
    p.translate(128, 122);
    p.rotate(40);
    p.scale(0.93, 0.93);

    // A dark outline first, so that the white aircraft stands out from the clouds.
    const QPainterPath silhouette = a.silhouette();
    p.setPen(QPen(bleuNuit, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(bleuNuit);
    p.drawPath(silhouette);
    p.setPen(Qt::NoPen);

    QLinearGradient blanc(-100, 0, 100, 0);
    blanc.setColorAt(0, QColor(215, 225, 240));
    blanc.setColorAt(0.5, Qt::white);
    blanc.setColorAt(1, QColor(215, 225, 240));
    p.setBrush(blanc);
    p.drawPath(a.empennage);
    p.drawPath(a.aile);
    p.drawPath(a.fuselage);

    // Red wing tips, tail tips, cowling and a stripe along the fuselage.
    p.setBrush(rouge);
    QPainterPath bouts;
    bouts.addRect(QRectF(-110, -40, 32, 60));
    bouts.addRect(QRectF(78, -40, 32, 60));
    p.drawPath(a.aile.intersected(bouts));
    QPainterPath boutsQueue;
    boutsQueue.addRect(QRectF(-40, 50, 16, 40));
    boutsQueue.addRect(QRectF(24, 50, 16, 40));
    p.drawPath(a.empennage.intersected(boutsQueue));
    QPainterPath capot;
    capot.addRect(QRectF(-20, -80, 40, 30));
    p.drawPath(a.fuselage.intersected(capot));
    QPainterPath bande;
    bande.addRect(QRectF(-2.5, 2, 5, 60));
    p.drawPath(a.fuselage.intersected(bande));

    // Windscreen just ahead of the wing.
    p.setBrush(QColor(40, 90, 170));
    p.drawRoundedRect(QRectF(-7.5, -42, 15, 16), 5, 5);
    p.setBrush(QColor(170, 210, 255));
    p.drawRoundedRect(QRectF(-5, -40, 5, 8), 2.5, 2.5);

    p.setBrush(QColor(50, 55, 70));
    p.drawPath(a.derive);
    p.drawPath(a.helice);
    p.setBrush(rouge);
    p.drawEllipse(QPointF(0, -70), 4, 4);
    return image;
}

// Background of the display scenes: a dark night sky over a faint runway. Everything stays
// dark so that white, cyan, yellow, green and red texts keep their contrast.
QImage fond()
{
    const int largeur = 1920;
    const int hauteur = 1080;
    const qreal horizon = 780;
    QImage image = nouvelleImage(largeur, hauteur, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    QLinearGradient ciel(0, 0, 0, horizon);
    ciel.setColorAt(0, QColor(3, 6, 18));
    ciel.setColorAt(0.8, QColor(9, 20, 46));
    ciel.setColorAt(1, QColor(18, 34, 66));
    p.fillRect(QRectF(0, 0, largeur, horizon), ciel);
    QLinearGradient sol(0, horizon, 0, hauteur);
    sol.setColorAt(0, QColor(10, 16, 28));
    sol.setColorAt(1, QColor(4, 6, 12));
    p.fillRect(QRectF(0, horizon, largeur, hauteur - horizon), sol);

    // A glow over the horizon, as of a distant town.
    QRadialGradient lueur(0.5, 0.5, 0.5);
    lueur.setCoordinateMode(QGradient::ObjectMode);
    lueur.setColorAt(0, QColor(50, 70, 110, 70));
    lueur.setColorAt(1, QColor(50, 70, 110, 0));
    p.setBrush(lueur);
    p.drawEllipse(QRectF(260, horizon - 90, 1400, 180));

    // Faint clouds.
    QRadialGradient nuage(0.5, 0.5, 0.5);
    nuage.setCoordinateMode(QGradient::ObjectMode);
    nuage.setColorAt(0, QColor(70, 90, 130, 34));
    nuage.setColorAt(1, QColor(70, 90, 130, 0));
    p.setBrush(nuage);
    for (const QRectF &r :
         {QRectF(120, 150, 700, 130), QRectF(520, 210, 520, 90), QRectF(1150, 90, 640, 120),
          QRectF(1350, 420, 560, 110), QRectF(200, 520, 800, 120), QRectF(900, 600, 700, 90)})
        p.drawEllipse(r);

    // A few stars, always the same ones.
    QRandomGenerator hasard(1987);
    for (int i = 0; i < 90; ++i) {
        // One draw per statement: the order of evaluation of arguments is up to the compiler.
        const qreal x = hasard.bounded(largeur);
        const QPointF position(x, hasard.bounded(horizon - 120));
        const int eclat = 40 + hasard.bounded(40) - int(position.y() * 40 / horizon);
        p.setBrush(QColor(eclat, eclat + 5, eclat + 20));
        p.drawEllipse(position, 1.3, 1.3);
    }

    // An aircraft passing over, as a faint silhouette.
    p.save();
    p.translate(1380, 300);
    p.rotate(62);
    p.scale(2.4, 2.4);
    p.setBrush(QColor(60, 85, 140, 40));
    p.drawPath(avion().silhouette());
    p.restore();

    // The runway in perspective: screen row and width follow 1/distance.
    const qreal echelle = hauteur - horizon;
    const auto rang = [&](qreal distance) { return horizon + echelle / distance; };
    const auto demiLargeur = [](qreal distance) { return 640 / distance; };
    const qreal lointain = 40;
    QPainterPath piste;
    piste.moveTo(960 - demiLargeur(lointain), rang(lointain));
    piste.lineTo(960 + demiLargeur(lointain), rang(lointain));
    piste.lineTo(960 + demiLargeur(0.9), rang(0.9));
    piste.lineTo(960 - demiLargeur(0.9), rang(0.9));
    piste.closeSubpath();
    p.setBrush(QColor(17, 21, 32));
    p.drawPath(piste);
    p.setBrush(QColor(30, 35, 48));
    for (qreal d = 1.0; d < 24; d += 2.0) {
        QPainterPath tiret;
        const qreal l1 = demiLargeur(d) * 0.025;
        const qreal l2 = demiLargeur(d + 1) * 0.025;
        tiret.moveTo(960 - l1, rang(d));
        tiret.lineTo(960 + l1, rang(d));
        tiret.lineTo(960 + l2, rang(d + 1));
        tiret.lineTo(960 - l2, rang(d + 1));
        tiret.closeSubpath();
        p.drawPath(tiret);
    }
    for (qreal d = 1.2; d < 16; d += 0.5) {
        const qreal r = 2 + 5 / d;
        QRadialGradient feu(0.5, 0.5, 0.5);
        feu.setCoordinateMode(QGradient::ObjectMode);
        feu.setColorAt(0, QColor(110, 90, 45));
        feu.setColorAt(0.35, QColor(80, 64, 34, 160));
        feu.setColorAt(1, QColor(80, 64, 34, 0));
        p.setBrush(feu);
        for (int cote : {-1, 1})
            p.drawEllipse(QPointF(960 + cote * demiLargeur(d) * 1.04, rang(d)), r, r);
    }

    // The sides fade to black, where the scaled picture meets the black of the view.
    QLinearGradient bords(0, 0, largeur, 0);
    bords.setColorAt(0, QColor(0, 0, 0, 235));
    bords.setColorAt(0.15, QColor(0, 0, 0, 0));
    bords.setColorAt(0.85, QColor(0, 0, 0, 0));
    bords.setColorAt(1, QColor(0, 0, 0, 235));
    p.fillRect(image.rect(), bords);
    return image;
}

QImage reduite(const QImage &image, QSize taille)
{
    return image.scaled(taille, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void poser(QPainter &p, const QImage &image, QSize taille, QPointF centre)
{
    const QImage petite = reduite(image, taille);
    p.drawImage(centre - QPointF(petite.width(), petite.height()) / 2, petite);
}

// The pictures as the station shows them: icons reduced as QIcon does, on their backgrounds.
void ecrireApercus(const QDir &dossier)
{
    const QImage imageFenetres = fenetres();
    QImage boutons = nouvelleImage(3 * 221 + 10, 121, QImage::Format_RGB32);
    boutons.fill(QColor(0, 55, 41));
    {
        QPainter p(&boutons);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor etats[3][2] = {{QColor(0xEF, 0xEF, 0xEF), QColor(0xBE, 0xBE, 0xBE)},
                                    {QColor(0xFF, 0xF0, 0xC0), QColor(0xFF, 0xC0, 0x00)},
                                    {QColor(0xE0, 0xFF, 0xE0), QColor(0x00, 0xFF, 0x00)}};
        for (int i = 0; i < 3; ++i) {
            const QRectF bouton(10 + i * 221, 10, 211, 101);
            QLinearGradient degrade(bouton.topLeft(), bouton.bottomLeft());
            degrade.setColorAt(0, etats[i][0]);
            degrade.setColorAt(1, etats[i][1]);
            p.setPen(Qt::black);
            p.setBrush(degrade);
            p.drawRoundedRect(bouton.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
            poser(p, imageFenetres, QSize(80, 50), bouton.center() - QPointF(0, 14));
            p.setPen(Qt::blue);
            QFont fonte = p.font();
            fonte.setPointSize(8);
            fonte.setBold(true);
            p.setFont(fonte);
            p.drawText(bouton.adjusted(0, 70, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                       QStringLiteral("Diffusion séries"));
        }
    }
    boutons.save(dossier.filePath(QStringLiteral("apercu-boutons.png")));

    QImage feuille = nouvelleImage(420, 90, QImage::Format_RGB32);
    feuille.fill(QColor(0, 55, 41));
    {
        QPainter p(&feuille);
        p.setRenderHint(QPainter::Antialiasing);
        poser(p, quitter(), QSize(32, 32), QPointF(55, 45));
        QLinearGradient survol(0, 15, 0, 76);
        survol.setColorAt(0, QColor(0xFF, 0xF0, 0xC0));
        survol.setColorAt(1, QColor(0xFF, 0xC0, 0x00));
        p.setPen(Qt::black);
        p.setBrush(survol);
        p.drawRoundedRect(QRectF(110, 15, 91, 61), 5, 5);
        poser(p, quitter(), QSize(32, 32), QPointF(155, 45));
        const QImage led = ledVerte();
        poser(p, led, QSize(22, 22), QPointF(250, 45));
        poser(p, led, QSize(28, 28), QPointF(300, 45));
        poser(p, led, QSize(40, 40), QPointF(360, 45));
    }
    feuille.save(dossier.filePath(QStringLiteral("apercu-feuille.png")));

    QImage menu = nouvelleImage(260, 70, QImage::Format_RGB32);
    menu.fill(QColor(240, 240, 240));
    {
        QPainter p(&menu);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 260, 26), QColor(48, 140, 198));
        poser(p, fermer(), QSize(16, 16), QPointF(16, 13));
        p.setPen(Qt::white);
        p.drawText(QRectF(32, 0, 228, 26), Qt::AlignVCenter, QStringLiteral(" Fermer la fenêtre"));
        poser(p, fermer(), QSize(16, 16), QPointF(16, 40));
        p.setPen(Qt::black);
        p.drawText(QRectF(32, 27, 228, 26), Qt::AlignVCenter, QStringLiteral(" Fermer la fenêtre"));
        poser(p, fermer(), QSize(32, 32), QPointF(200, 50));
    }
    menu.save(dossier.filePath(QStringLiteral("apercu-menu.png")));

    const QImage imageLogo = logo();
    QImage entete = nouvelleImage(1280, 110, QImage::Format_RGB32);
    entete.fill(Qt::black);
    {
        QPainter p(&entete);
        p.drawImage(QPointF(5, 10),
                    imageLogo.scaled(90, 90, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        p.drawImage(QPointF(110, 5),
                    imageLogo.scaled(100, 100, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        p.setPen(QColor(255, 240, 128));
        QFont fonte = p.font();
        fonte.setPixelSize(40);
        fonte.setBold(true);
        p.setFont(fonte);
        p.drawText(QRectF(240, 0, 1000, 110), Qt::AlignVCenter, QStringLiteral("Vellor's Cup"));
    }
    entete.save(dossier.filePath(QStringLiteral("apercu-entete.png")));

    // A scene wider than 16:9, as under the header of a full-screen window.
    const QSize scene(1920, 960);
    QImage ecran = nouvelleImage(scene.width(), scene.height(), QImage::Format_RGB32);
    ecran.fill(Qt::black);
    {
        QPainter p(&ecran);
        p.setRenderHint(QPainter::Antialiasing);
        const QImage image = fond().scaledToHeight(scene.height(), Qt::FastTransformation);
        p.drawImage(QPointF((scene.width() - image.width()) * 0.5, 0), image);
        const QColor couleurs[] = {Qt::white, QColor(0, 255, 255), QColor(255, 240, 128),
                                   QColor(128, 255, 128), QColor(255, 128, 128)};
        QFont fonte = p.font();
        fonte.setBold(true);
        for (int colonne = 0; colonne < 3; ++colonne) {
            for (int ligne = 0; ligne < 19; ++ligne) {
                const QPointF coin(40 + colonne * 640, 20 + ligne * 49);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0, 128, 255));
                p.drawPolygon(QPolygonF({coin + QPointF(8, 0), coin + QPointF(60, 0),
                                         coin + QPointF(52, 34), coin + QPointF(0, 34)}));
                fonte.setPixelSize(16 + (ligne % 5) * 4);
                p.setFont(fonte);
                p.setPen(couleurs[(ligne + colonne) % 5]);
                p.drawText(QRectF(coin + QPointF(70, 0), QSizeF(560, 34)), Qt::AlignVCenter,
                           QStringLiteral("%1  Dupont-Lefèvre Amélie  1234").arg(ligne + 1));
            }
        }
    }
    ecran.save(dossier.filePath(QStringLiteral("apercu-fond.png")));
}

// The program's icon for Windows, every size it asks for (the taskbar, Explorer's views, the
// Start menu, at 100 to 200 %), the largest kept as PNG; icoutils' icotool assembles it.
bool ecrireIconeWindows(const QImage &image, const QString &chemin, QTextStream &erreur)
{
    const int tailles[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
    QTemporaryDir travail;
    QStringList arguments{QStringLiteral("-c"), QStringLiteral("-o"), chemin};
    for (const int taille : tailles) {
        const QString png = travail.filePath(QStringLiteral("%1.png").arg(taille));
        if (!reduite(image, QSize(taille, taille)).save(png, "PNG", 0))
            return false;
        arguments << (taille == 256 ? QStringLiteral("--raw=") + png : png);
    }
    QProcess icotool;
    icotool.start(QStringLiteral("icotool"), arguments);
    if (!icotool.waitForFinished() || icotool.exitStatus() != QProcess::NormalExit ||
        icotool.exitCode() != 0) {
        erreur << "icotool (icoutils) failed: " << icotool.errorString() << ' '
               << icotool.readAllStandardError();
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Nothing is shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTextStream erreur(stderr);

    QStringList arguments = application.arguments().mid(1);
    const bool apercus = arguments.removeAll(QStringLiteral("--apercus")) > 0;
    if (arguments.size() > 1 || (apercus && arguments.isEmpty())) {
        erreur << "usage: generer-icones [folder] | --apercus folder\n";
        return 2;
    }
    const QDir dossier(arguments.value(0, QStringLiteral(DOSSIER_ICONES)));
    if (!dossier.mkpath(QStringLiteral("."))) {
        erreur << "cannot create " << dossier.path() << '\n';
        return 1;
    }
    if (apercus) {
        ecrireApercus(dossier);
        return 0;
    }

    const struct {
        const char *nom;
        QImage image;
    } images[] = {{"windows.png", fenetres()}, {"statutvert.png", ledVerte()},
                  {"quitter.png", quitter()},  {"close.png", fermer()},
                  {"vol_libre.png", logo()},   {"fond.png", fond()}};
    for (const auto &image : images) {
        const QString chemin = dossier.filePath(QString::fromLatin1(image.nom));
        // Quality 0 asks for the strongest PNG compression.
        if (!image.image.save(chemin, "PNG", 0)) {
            erreur << "cannot write " << chemin << '\n';
            return 1;
        }
    }
    return ecrireIconeWindows(logo(), dossier.filePath(QStringLiteral("vellorcup-display.ico")),
                              erreur)
               ? 0
               : 1;
}
