// The events of the day as the state holds them: their series and their classifications.
import { liste, objet, epreuveEnCours } from './commun.js';

export function seriesDe(etat, e) { return liste(objet(liste(etat.epreuves)[e]).series).map(objet); }

// Every event of the state that holds series, in slot order.
export function epreuvesTenues(etat) {
  return liste(etat.epreuves).map(function (_, e) { return e; })
    .filter(function (e) { return seriesDe(etat, e).length > 0; });
}

// Flown and over: not in flight, and some series has its results.
export function epreuvesTerminees(etat) {
  return epreuvesTenues(etat).filter(function (e) {
    return e !== epreuveEnCours(etat) && seriesDe(etat, e).some(function (s) { return s.avecResultats === true; });
  });
}

// An event's classification as the station ranked it: the one in flight in full, the others
// as indices into their pilots taken series after series.
export function classementDe(etat, e) {
  if (e === epreuveEnCours(etat)) return liste(etat.classementEpreuve).map(objet);
  const pilotes = seriesDe(etat, e).flatMap(function (s) { return liste(s.pilotes); });
  return liste(objet(liste(etat.epreuves)[e]).classement)
    .filter(function (k) { return Number.isInteger(k) && k >= 0 && k < pilotes.length; })
    .map(function (k) { return objet(pilotes[k]); });
}
