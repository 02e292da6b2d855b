#ifndef AIDETESTS_H
#define AIDETESTS_H

#include "app/feuille.h"
#include "attente.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "fichiers.h"
#include "network/reseau.h"
#include "windows/fenetreaffichage.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <functional>
#include <memory>

// The control window as the operator starts it, on a settings folder of its own.
struct Controle {
    std::unique_ptr<QTemporaryDir> dossier;
    std::unique_ptr<Feuille> feuille;

    // Before each test: empty store, default record in a new folder, no page, debug quiet.
    void preparer()
    {
        feuille.reset();
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        reinitialiserDonnees();
        FenetreAffichage::definirAdresseResultats(QString());
        dossier = std::make_unique<QTemporaryDir>();
        parametres = Parametres();
        parametres.repertoireDonnees = dossier->path();
    }

    QSettings fichier() const { return {cheminFichierParametres(), QSettings::IniFormat}; }

    // Started as at launch: it reads the file, then binds the stored port by itself.
    Feuille *ouvrir(const QString &port = QString())
    {
        if (!port.isNull())
            fichier().setValue(QStringLiteral("Connexion/ReseauUdpPort"), port);
        feuille = std::make_unique<Feuille>();
        feuille->show();
        return feuille.get();
    }

    // Stopped without quitting (nothing saved on the way) and started again on its file.
    Feuille *redemarrer()
    {
        feuille.reset();
        const QString repertoire = parametres.repertoireDonnees;
        parametres = Parametres();
        parametres.repertoireDonnees = repertoire;
        return ouvrir();
    }

    // A change is saved within a second: a save is due by then. Read on the timer rather
    // than on the clock, which a loaded machine stretches.
    bool sauvegardePrevue() const
    {
        const auto minuteries = feuille->findChildren<QTimer *>();
        for (const QTimer *m : minuteries)
            if (m->isSingleShot() && m->isActive() && m->remainingTime() <= 1000)
                return true;
        return false;
    }
};

// True once the station listens on the port.
inline bool ecoute(quint16 port)
{
    return QTest::qWaitFor([port] { return socketUdp && socketUdp->localPort() == port; }, attente);
}

// A datagram to the port on loopback, sent from the address given.
inline void envoyerUdp(const QByteArray &datagramme, quint16 port, const char *depuis = "127.0.0.1")
{
    QUdpSocket emetteur;
    QVERIFY(emetteur.bind(QHostAddress(QString::fromLatin1(depuis)), 0));
    QVERIFY(emetteur.writeDatagram(datagramme, QHostAddress::LocalHost, port) >= 0);
}

// Runs a step on the next modal dialog (a message box opened with exec()) once it shows.
inline void surProchaineBoite(std::function<void(QMessageBox *)> action)
{
    auto *veille = new QTimer;
    QObject::connect(veille, &QTimer::timeout, [veille, action] {
        if (auto *boite = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            veille->stop();
            veille->deleteLater();
            action(boite);
        }
    });
    veille->start(10);
}

#endif
