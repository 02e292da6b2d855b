#ifndef APPARENCE_H
#define APPARENCE_H

#include <QColor>
#include <QString>

// The colours and style sheets of the windows, named once. Names tell the colour; where
// it is used is said beside it.
namespace Apparence
{
// Texts on the dark background of the display windows.
inline const QColor blanc(255, 255, 255);
inline const QColor cyan(0, 255, 255);        // series titles
inline const QColor cyanPale(128, 255, 255);  // positions of the tables
inline const QColor cyanClair(192, 255, 255); // scoreboard header cells and ranks
inline const QColor jaune(255, 240, 128);     // pilot numbers
inline const QColor jaunePale(255, 240, 192); // pilot numbers of the event classification
inline const QColor jauneVif(255, 255, 128);  // scoreboard totals
inline const QColor vert(128, 255, 128);      // a pilot who succeeded, a pilot who flew
inline const QColor rouge(255, 128, 128);     // a pilot who failed
inline const QColor bleu(0, 0, 255);          // scoreboard header texts
inline const QColor bleuBadge(0, 128, 255);   // cup rank badges
inline const QColor fondPosition(0, 48, 48);  // position column of the event classification

constexpr int epaisseurTrait = 1;

// Header and grid of the two table windows. The header colour goes through the header's
// palette rather than a "QHeaderView::section" rule: drawn through a style sheet rule, each
// paint gets a new palette, hence a new entry in Qt's pixmap cache (same pixels either way).
inline const QString styleGrilleTable = QStringLiteral("QTableView { gridline-color:gray }");
inline const QColor fondEnTetePreparation(173, 216, 230); // lightblue
inline const QColor fondEnTeteClassement(128, 192, 192);

// Right-click menus of the control window and of the display windows.
inline const QString styleMenuContextuel = QStringLiteral(
    "QMenu::item{ padding: 2px 32px 8px; border: 1px solid transparent; }"
    "QMenu::item:selected{ background-color:#80FFC0;border: 1px solid black; }"
    "QMenu::separator{ height: 2px;background: red;margin-left: 0px; margin-right: 0px; }");

// The control window's address table.
inline const QString styleTableAdresses =
    QStringLiteral("QTableView {selection-background-color: #00bb00} ");
} // namespace Apparence

#endif
