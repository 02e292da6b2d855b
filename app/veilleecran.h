#ifndef VEILLEECRAN_H
#define VEILLEECRAN_H

#include <QObject>
#include <QSet>

#include <memory>

class QWidget;
class Inhibiteur;

// Keeps the screens awake while the public can see a display window: blanking and the
// screen saver are held off from the moment the first watched window shows until the last
// one is hidden, minimised or destroyed, or this object goes at quit. Without a service
// to ask, the station carries on and the screens may sleep.
class VeilleEcran final : public QObject
{
    Q_OBJECT

public:
    explicit VeilleEcran(QObject *parent = nullptr);
    ~VeilleEcran() override;

    // Follows a top-level window from now on, counting it at once if it is already shown.
    void surveiller(QWidget *fenetre);
    // True while a hold is taken.
    bool suspendue() const { return etat == Etat::Suspendue; }

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    void actualiser();
    void relacher();

    // Relachee: no window shown, nothing asked. Refusee: windows shown, but the one attempt
    // for them failed, or nothing here can hold the screens; the next attempt waits until
    // they have all gone.
    enum class Etat { Relachee, Suspendue, Refusee };

    std::unique_ptr<Inhibiteur> inhibiteur;
    // Sets, not counters: a window shown or hidden twice in a row stays one window.
    QSet<QObject *> surveillees;
    QSet<QObject *> visibles;
    Etat etat = Etat::Relachee;
};

#endif
