// The contest's title: the cup's one fades between the title received and the fixed one, like
// on the projector; paper names the contest by it.
import { texte } from './commun.js';
import { t } from './langue.js';

export const TITRE_FIXE = "Vellor's Cup";
const PERIODE_TITRE_MS = 30000;
let titreCoupe = '';

export function poserTitreCoupe(etat) { titreCoupe = texte(etat.titreCoupe); }
export function titreDuConcours() { return titreCoupe || TITRE_FIXE; }

export function animerTitreCoupe(h) {
  setInterval(function () {
    h.classList.add('efface');
    setTimeout(function () {
      let suivant;
      if (h.textContent === titreCoupe) suivant = TITRE_FIXE;
      else suivant = titreCoupe || t('titre.defaut');
      h.textContent = suivant;
      h.classList.remove('efface');
    }, 700);
  }, PERIODE_TITRE_MS);
}
