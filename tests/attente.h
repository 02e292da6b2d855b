#ifndef ATTENTE_H
#define ATTENTE_H

// Bound of every wait on the network, a timer or a window: conditions return as soon as they
// hold, and a machine loaded by sanitizers and busy loops still meets them.
constexpr int attente = 10000;

#endif
