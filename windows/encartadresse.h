#ifndef ENCARTADRESSE_H
#define ENCARTADRESSE_H

#include <QImage>
#include <QWidget>

// The results page's address for the spectators: its QR code with the address written
// under it, in the bottom-right corner of a display window. Clicks go through to the window.
class EncartAdresse final : public QWidget
{
    Q_OBJECT

public:
    EncartAdresse(const QString &adresse, QWidget *fenetre);

    QString adresse() const { return texte; }

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placer();

    const QString texte;
    const QImage code;
};

#endif
