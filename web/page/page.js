// Live page of the display station: the projectors' views on a phone, one at a time behind
// tabs (side by side on a wide screen), the spectator's own pilots followed, and what just
// changed shown for a while.
import { traduirePage } from './langue.js';
import { connecter } from './commun.js';
import series from './vues/series.js';
import preparation from './vues/preparation.js';
import epreuve from './vues/epreuve.js';
import coupe from './vues/coupe.js';
import tableau from './vues/tableau.js';
import journee from './vues/journee.js';
import annonceur from './vues/annonceur.js';
import { preparerSections, rendreVues, parImage } from './rendu.js';
import { preparerOnglets, montrerVueDuLien } from './onglets.js';
import { preparerSuivis, suivreEtat, surligner } from './suivis.js';
import { noterChangements, marquer } from './changements.js';
import { poserPapiers } from './classements.js';
import { titreDuConcours } from './titre.js';
import { suivreConnexion, noterArrivee, majEtatConnexion, heureDesDonnees } from './statut.js';

// The views, in the tabs' order: a new view is a module of vues/ and a line here. Each gives
// cle (its #link), id (its section's), onglet and titre (its texts), classeTitre, chrono and
// sousTitre(etat) when its header shows them, entrees(etat, maintenant) (what it reads: it is
// drawn again when that changes), construire(etat, maintenant) (its content), and preparer
// (section) and apres(etat) for anything else it does.
const VUES = [series, preparation, epreuve, coupe, tableau, journee, annonceur];

function decorer(maintenant) {
  surligner();
  marquer(maintenant);
}

function rendre(etat) {
  const maintenant = performance.now();
  rendreVues(VUES, etat, maintenant);
  poserPapiers(titreDuConcours(), heureDesDonnees());
  montrerVueDuLien();
  suivreEtat(etat);
  decorer(maintenant);
}
const planifierRendu = parImage(rendre);

function recevoir(etat) {
  const maintenant = performance.now();
  noterArrivee(etat, maintenant);
  noterChangements(etat, maintenant);
  planifierRendu(etat);
  majEtatConnexion();
}

traduirePage();
preparerSections(VUES);
preparerSuivis();
preparerOnglets(VUES);
suivreConnexion(connecter(recevoir, majEtatConnexion));
majEtatConnexion();
setInterval(function () {
  majEtatConnexion();
  decorer(performance.now());
}, 1000);
