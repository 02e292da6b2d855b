#ifndef AIDETESTS_H
#define AIDETESTS_H

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

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
