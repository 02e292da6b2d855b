#ifndef DIFFUSION_H
#define DIFFUSION_H

#include <QObject>
#include <QString>
#include <QStringList>

class PageResultats;
class Publication;
class Relais;
struct EtatStation;

// What the contest's state goes out through beyond the projectors: the results page, the
// relay and the thread that writes their document. Each is opened, moved or closed as its
// settings change, while the station runs.
class Diffusion final : public QObject
{
    Q_OBJECT

public:
    explicit Diffusion(QObject *parent = nullptr);

    // Serves the page on `port` at `adresse` (empty: every interface); 0 closes it. False,
    // with the reason, when the new place cannot be opened: the page already served, if
    // any, goes on where it was.
    bool ouvrirPage(int port, const QString &adresse, QString *erreur);
    // Publishes to the relay at this address (empty: no relay), with this token.
    void ouvrirRelais(const QString &adresse, const QString &jeton);

    // The store as it stands now, to the page and the relay that are on; `depuisTrameMs` as
    // the feed says it.
    void publier(qint64 depuisTrameMs);
    // The time the store was taken back from disk, said with each state until a frame
    // comes; empty: none.
    void definirReprise(const QString &quand) { reprise = quand; }

    // The page's addresses, the field's network first; empty while no page is served.
    QStringList adressesPage() const;
    // The page's and the relay's part of the station's state.
    void decrire(EtatStation &etat) const;

signals:
    void etatChangeSignal();
    // The relay asks for the state written anew, with its current age.
    void republicationDemandeeSignal();

private:
    Publication *publicationOuverte();

    PageResultats *pageResultats = nullptr;
    int portPage = 0;
    QString adresseEcoute;
    QString erreurPage;
    Relais *relaisEnCours = nullptr;
    QString adresseRelais;
    QString jetonRelais;
    Publication *publication = nullptr; // once the page or the relay is on
    QString reprise;
};

#endif
