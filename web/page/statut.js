// The status line: whether the station answers and how old the data is; and the data's clock
// time, for paper.
import { texte, poserTexte } from './commun.js';
import { t, date, heure } from './langue.js';

const AGE_ANCIEN_MS = 30000; // beyond this the status line turns yellow

let arrivee = null; // performance.now() when the shown state arrived
let reprise = '';   // when the state the station took back from disk was taken
let connexion = { ouvert: false, erreur: false, donnees: null };

export function suivreConnexion(c) { connexion = c; }
export function noterArrivee(etat, maintenant) {
  arrivee = maintenant;
  reprise = texte(etat.reprise);
}

function duree(ms) {
  const s = Math.max(0, Math.floor(ms / 1000));
  if (s < 60) return s + ' s';
  const m = Math.floor(s / 60);
  if (m < 60) return m + ' min ' + (s % 60) + ' s';
  return Math.floor(m / 60) + ' h ' + (m % 60) + ' min';
}

export function heureDesDonnees() {
  if (reprise) return t('papier.repris', { heure: reprise });
  if (connexion.donnees === null) return t('papier.attente');
  const d = new Date(Date.now() - (performance.now() - connexion.donnees));
  return t('papier.donnees', { date: date(d), heure: heure(d) });
}

export function majEtatConnexion() {
  const ligne = document.getElementById('etat-connexion');
  let message;
  let classe;
  let age = null;
  if (connexion.donnees !== null) age = performance.now() - connexion.donnees;
  if (connexion.erreur) {
    message = t('statut.perdue');
    if (age !== null) message += t('statut.recuesIlYa', { duree: duree(age) });
    else if (reprise) message += t('statut.reprisDe', { heure: reprise });
    classe = 'perdu';
  } else if (arrivee === null) {
    message = t('statut.connexion');
    classe = 'attente';
  } else if (reprise) {
    // The station restarted from what it had saved: no sender has spoken since.
    message = t('statut.repris', { heure: reprise });
    classe = 'ancien';
  } else if (age === null) {
    message = t('statut.premieres');
    classe = 'attente';
  } else {
    message = t('statut.recues', { duree: duree(age) });
    classe = age > AGE_ANCIEN_MS ? 'ancien' : 'frais';
  }
  poserTexte(ligne, message);
  ligne.className = 'etat ' + classe;
}
