// Live page of the display station: the five views of the projectors on a phone, one at a
// time behind tabs (side by side on a wide screen), the spectator's own pilots followed, and
// what just changed shown for a while.
'use strict';

(function () {
  const V = Vellor;
  const { liste, objet, texte, index, nomPilote, el, vide, cellule } = V;
  const TITRE_FIXE = "Vellor's Cup";
  const AGE_ANCIEN_MS = 30000;      // beyond this the status line turns yellow
  const PERIODE_TITRE_MS = 30000;   // the cup title alternates like on the projector
  const DUREE_MOUVEMENT_MS = 60000; // how long a rank change shows its arrow
  const DUREE_ARRIVEE_MS = 5000;    // how long a result that just arrived stands out
  const SUIVIS_MAX = 3;
  const PROPOSITIONS_MAX = 8;
  const CLE_VUE = 'vellor.vue';
  const CLE_SUIVIS = 'vellor.suivis';
  const CLE_EPREUVE = 'vellor.epreuve'; // the event the day's view shows on a phone
  const VUES = { series: 'vue-series', preparation: 'vue-preparation', epreuve: 'vue-classement-epreuve',
    coupe: 'vue-classement-coupe', tableau: 'vue-tableau', journee: 'vue-journee' };

  // The device may refuse storage (private browsing): the page then forgets on reload.
  function lire(cle) { try { return localStorage.getItem(cle); } catch (err) { return null; } }
  function ecrire(cle, valeur) { try { localStorage.setItem(cle, valeur); } catch (err) { /* see above */ } }

  // ---- What changed between two states: ranks that moved, results that arrived. ----

  const mouvements = new Map(); // "coupe:249" -> { places, jusqua }
  const arrivees = new Map();   // "serie:3:249" -> until when the result stands out
  let precedent = null;

  function rangsCoupe(etat) {
    const rangs = new Map();
    liste(etat.classementCoupe).forEach(function (l, i) {
      const n = texte(objet(l).numero);
      if (n && !rangs.has(n)) rangs.set(n, parseInt(V.rangCourt(objet(l).rang), 10) || i + 1);
    });
    return rangs;
  }
  function rangsEpreuve(etat) {
    const rangs = new Map();
    liste(etat.classementEpreuve).forEach(function (l, i) {
      const n = texte(objet(l).numero);
      if (n && !rangs.has(n)) rangs.set(n, i + 1);
    });
    return rangs;
  }
  function resultats(etat) {
    const r = new Map();
    V.seriesEnCours(etat).forEach(function (s, k) {
      if (s.avecResultats !== true) return;
      for (const p of liste(s.pilotes)) r.set('serie:' + k + ':' + texte(objet(p).numero), objet(p).reussi === true);
    });
    return r;
  }

  function noterChangements(etat, maintenant) {
    const actuel = { e: V.epreuveEnCours(etat), coupe: rangsCoupe(etat), epreuve: rangsEpreuve(etat),
      resultats: resultats(etat) };
    if (precedent) {
      const comparer = function (quoi, avant, apres) {
        apres.forEach(function (rang, numero) {
          const ancien = avant.get(numero);
          if (ancien !== undefined && ancien !== rang)
            mouvements.set(quoi + ':' + numero, { places: ancien - rang, jusqua: maintenant + DUREE_MOUVEMENT_MS });
        });
      };
      comparer('coupe', precedent.coupe, actuel.coupe);
      // A new event starts a new classification: nobody moved in it yet.
      if (actuel.e !== precedent.e) {
        for (const cle of mouvements.keys()) if (cle.startsWith('epreuve:')) mouvements.delete(cle);
        arrivees.clear();
      } else {
        comparer('epreuve', precedent.epreuve, actuel.epreuve);
        actuel.resultats.forEach(function (reussi, cle) {
          if (precedent.resultats.get(cle) !== reussi) arrivees.set(cle, maintenant + DUREE_ARRIVEE_MS);
        });
      }
    }
    precedent = actuel;
  }

  // ---- The five views. Each one rebuilds its content only when what it reads changed. ----

  function vueSeries(etat, maintenant) {
    const e = V.epreuveEnCours(etat);
    const f = document.createDocumentFragment();
    if (e < 0) {
      f.append(vide('Aucune épreuve en cours'));
      return f;
    }
    const series = V.seriesEnCours(etat);
    if (series.length === 0) {
      f.append(vide('Aucune série pour cette épreuve'));
      return f;
    }
    const courante = index(etat.serieCourante);
    // With many series the one in flight can sit far down a phone's screen.
    if (courante >= 0 && courante < series.length) {
      const lien = el('a', 'aller-en-vol', 'Aller à la série en vol (n° ' + (courante + 1) + ')');
      lien.href = '#serie-en-vol';
      f.append(lien);
    }
    const grille = el('div', 'series');
    series.forEach(function (s, k) {
      const carte = el('article', k === courante ? 'serie courante' : 'serie');
      if (k === courante) {
        carte.setAttribute('aria-current', 'true');
        carte.id = 'serie-en-vol';
      }
      // The rank in the event, not a number from the data, as on the projector.
      const titre = el('h3', 'titre-serie', 'Série n° ' + (k + 1));
      if (k === courante) titre.append(el('span', 'lecteur', ' (en vol)'));
      carte.append(titre);
      const avecResultats = s.avecResultats === true;
      const ul = el('ul', 'pilotes');
      for (const p0 of liste(s.pilotes)) {
        const p = objet(p0);
        const numero = texte(p.numero);
        let classeNom = 'nom';
        if (avecResultats) classeNom += p.reussi === true ? ' reussi' : ' echoue';
        const li = el('li', 'ligne-pilote');
        li.dataset.numero = numero;
        const nom = el('span', classeNom, nomPilote(p));
        const cle = 'serie:' + k + ':' + numero;
        if ((arrivees.get(cle) || 0) > maintenant) {
          nom.classList.add('arrive');
          nom.dataset.arrivee = cle;
        }
        li.append(el('span', 'numero', numero), nom);
        if (avecResultats) li.append(el('span', 'lecteur', p.reussi === true ? ' (réussi)' : ' (échoué)'));
        ul.append(li);
      }
      carte.append(ul);
      grille.append(carte);
    });
    f.append(grille);
    return f;
  }

  function vuePreparation(prep) {
    const f = document.createDocumentFragment();
    // Only an explicit "not found" hides the rows the station sent.
    const pilotes = prep.trouvee === false ? [] : liste(prep.pilotes);
    if (pilotes.length === 0) {
      f.append(vide('Aucun pilote à préparer'));
      return f;
    }
    const t = V.table('preparation', [
      { classe: 'position', lignes: ['Position'] },
      { classe: 'numero', lignes: ['Vellor n°'] },
      { classe: 'pilote', lignes: ['Pilote'] },
      { classe: 'club', lignes: ['Club'] }], 'Pilotes de la prochaine série');
    pilotes.forEach(function (p0, i) {
      const p = objet(p0);
      const tr = el('tr');
      tr.dataset.numero = texte(p.numero);
      // The preparation window calls the pilots by their second name part first.
      tr.append(cellule('position', String(i + 1)), cellule('numero', texte(p.numero)),
        cellule('pilote', texte(p.nom2) + ' ' + texte(p.nom1)), cellule('club', texte(p.club)));
      t.corps.append(tr);
    });
    f.append(t.table);
    return f;
  }

  // An arrow with the places won or lost, filled by decorer() while it lasts.
  function caseMouvement(cle) {
    const m = el('span', 'mouvement');
    m.dataset.mouvement = cle;
    return m;
  }

  // On paper each page of a classification starts with the contest's title, the list's name
  // and the time of the data: a header row repeated on every sheet.
  function surPapier(table, quoi) {
    const th = el('th', 'papier');
    th.colSpan = table.querySelectorAll('col').length;
    th.dataset.papier = quoi;
    const tr = el('tr', 'papier');
    tr.append(th);
    table.tHead.prepend(tr);
  }

  // An event classification. `mouvements` says whether its rows show who moved (the event
  // in flight only); `papier` names it on paper.
  function tableClassement(lignes, legende, mouvements, papier) {
    const t = V.table('classement', [
      { classe: 'position', lignes: ['Pos.'] },
      { classe: 'numero', lignes: ['Vellor n°'] },
      { classe: 'pilote', lignes: ['Pilote'] },
      { classe: 'points', lignes: ['Points'] }], legende);
    if (papier) surPapier(t.table, papier);
    lignes.forEach(function (l0, i) {
      const l = objet(l0);
      const numero = texte(l.numero);
      const tr = el('tr');
      tr.dataset.numero = numero;
      // Positions run 1, 2, 3... also between equal points, as on the projector.
      const position = cellule('position', String(i + 1));
      if (mouvements) position.append(caseMouvement('epreuve:' + numero));
      tr.append(position, cellule('numero', numero), cellule('pilote', nomPilote(l)),
        cellule('points', texte(l.points)));
      t.corps.append(tr);
    });
    return t.table;
  }

  function vueClassementEpreuve(lignes) {
    const f = document.createDocumentFragment();
    if (lignes.length === 0) {
      f.append(vide('Aucun classement'));
      return f;
    }
    f.append(tableClassement(lignes, 'Classement de l\'épreuve', true));
    return f;
  }

  function vueClassementCoupe(lignes) {
    const f = document.createDocumentFragment();
    if (lignes.length === 0) {
      f.append(vide('Aucun classement'));
      return f;
    }
    const t = V.table('coupe', [
      { classe: 'rang', lignes: ['Rang'] },
      { classe: 'mouvement', lignes: ['Évol.'] },
      { classe: 'points', lignes: ['Points'] },
      { classe: 'numero', lignes: ['Vellor n°'] },
      { classe: 'pilote', lignes: ['Pilote'] }], 'Classement de la coupe');
    surPapier(t.table, 'Classement de la coupe');
    for (const l0 of lignes) {
      const l = objet(l0);
      const numero = texte(l.numero);
      const tr = el('tr', 'ligne-coupe');
      tr.dataset.numero = numero;
      const badge = el('span', 'badge', V.rangCourt(l.rang));
      badge.title = texte(l.rang);
      const rang = cellule('rang');
      rang.append(badge);
      const mouvement = cellule('mouvement');
      mouvement.append(caseMouvement('coupe:' + numero));
      tr.append(rang, mouvement, cellule('points', texte(l.points)), cellule('numero', numero),
        cellule('nom', nomPilote(l)));
      t.corps.append(tr);
    }
    f.append(t.table);
    return f;
  }

  // ---- The day: every event that holds series, its classification and its results. ----

  function seriesDe(etat, e) { return liste(objet(liste(etat.epreuves)[e]).series).map(objet); }

  function epreuvesTenues(etat) {
    return [0, 1, 2, 3, 4].filter(function (e) { return seriesDe(etat, e).length > 0; });
  }

  // Flown and over: not in flight, and some series has its results.
  function epreuvesTerminees(etat) {
    return epreuvesTenues(etat).filter(function (e) {
      return e !== V.epreuveEnCours(etat) && seriesDe(etat, e).some(function (s) { return s.avecResultats === true; });
    });
  }

  // An event's classification as the station ranked it: the one in flight in full, the others
  // as indices into their pilots taken series after series.
  function classementDe(etat, e) {
    if (e === V.epreuveEnCours(etat)) return liste(etat.classementEpreuve).map(objet);
    const pilotes = seriesDe(etat, e).flatMap(function (s) { return liste(s.pilotes); });
    return liste(objet(liste(etat.epreuves)[e]).classement)
      .filter(function (k) { return Number.isInteger(k) && k >= 0 && k < pilotes.length; })
      .map(function (k) { return objet(pilotes[k]); });
  }

  function vueJournee(etat) {
    const f = document.createDocumentFragment();
    const tenues = epreuvesTenues(etat);
    if (tenues.length === 0) {
      f.append(vide('Aucune épreuve courue'));
      return f;
    }
    const enCours = V.epreuveEnCours(etat);
    const grille = el('div', 'journee');
    for (const e of tenues) {
      const nom = V.nomEpreuve(etat, e);
      const carte = el('article', e === enCours ? 'epreuve-journee en-cours' : 'epreuve-journee');
      carte.dataset.epreuve = String(e);
      const titre = el('h3', 'titre-epreuve', nom);
      if (e === enCours) {
        carte.setAttribute('aria-current', 'true');
        titre.append(' ', el('span', 'marque-en-cours', 'en cours'));
      }
      carte.append(titre);
      const lignes = classementDe(etat, e);
      carte.append(lignes.length ? tableClassement(lignes, 'Classement : ' + nom, false, nom) : vide('Aucun classement'));
      const series = el('div', 'series-journee');
      seriesDe(etat, e).forEach(function (s, k) {
        const bloc = el('section', 'serie-journee');
        const avecResultats = s.avecResultats === true;
        bloc.append(el('h4', 'titre-serie', 'Série n° ' + (k + 1) + (avecResultats ? '' : ' (sans résultats)')));
        const ul = el('ul', 'pilotes');
        for (const p0 of liste(s.pilotes)) {
          const p = objet(p0);
          const li = el('li', 'ligne-pilote');
          li.dataset.numero = texte(p.numero);
          let classeNom = 'nom';
          if (avecResultats) classeNom += p.reussi === true ? ' reussi' : ' echoue';
          li.append(el('span', 'numero', texte(p.numero)), el('span', classeNom, nomPilote(p)));
          if (avecResultats) {
            li.append(el('span', 'lecteur', p.reussi === true ? ' (réussi)' : ' (échoué)'),
              el('span', 'points', texte(p.points) + ' pts'));
          }
          ul.append(li);
        }
        bloc.append(ul);
        series.append(bloc);
      });
      carte.append(series);
      grille.append(carte);
    }
    f.append(grille);
    return f;
  }

  // On a phone one event at a time: the one chosen here, else the one in flight, else the
  // last one run. A choice is kept on the device like the tab.
  function montrerEpreuve(etat) {
    const tenues = epreuvesTenues(etat);
    const enCours = V.epreuveEnCours(etat);
    const gardee = parseInt(lire(CLE_EPREUVE), 10);
    const montree = tenues.includes(gardee) ? gardee : tenues.includes(enCours) ? enCours : tenues[tenues.length - 1];
    const choix = document.getElementById('choix-epreuve');
    const cle = JSON.stringify([tenues.map(function (e) { return V.nomEpreuve(etat, e); }), tenues, enCours]);
    if (choix.dataset.cle !== cle) {
      choix.dataset.cle = cle;
      choix.replaceChildren(...tenues.map(function (e) {
        const o = el('option', '', V.nomEpreuve(etat, e) + (e === enCours ? ' (en cours)' : ''));
        o.value = String(e);
        return o;
      }));
    }
    choix.parentElement.hidden = tenues.length < 2;
    if (montree !== undefined) choix.value = String(montree);
    for (const c of document.querySelectorAll('.epreuve-journee'))
      c.classList.toggle('choisie', c.dataset.epreuve === String(montree));
  }

  // ---- Followed pilots: found by name or number, highlighted, placed in a line each. ----

  let suivis = [];   // Vellor numbers, as text
  let pilotes = new Map(); // every pilot the state names: number -> name
  let etatCourant = {};

  function sansAccents(t) { return t.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase(); }

  function recenserPilotes(etat) {
    const tous = new Map();
    const ajouter = function (p0) {
      const p = objet(p0);
      const n = texte(p.numero);
      if (n && !tous.has(n)) tous.set(n, nomPilote(p));
    };
    liste(etat.classementCoupe).forEach(ajouter);
    for (const ep of liste(etat.epreuves))
      for (const s of liste(objet(ep).series)) liste(objet(s).pilotes).forEach(ajouter);
    liste(etat.classementEpreuve).forEach(ajouter);
    liste(etat.tableauEpreuve).forEach(ajouter);
    pilotes = tous;
  }

  function ordinal(rang) { return rang + (rang === '1' ? 'er' : 'e'); }
  function pluriel(n, mot) { return n + ' ' + mot + (n > 1 ? 's' : ''); }

  // Where a pilot stands: "Coupe : 3e, 250 pts · Pylône racing : 2e · Épreuve : 5e · Série n° 9,
  // dans 2 séries", with his rank in each event over.
  function position(etat, numero) {
    const parties = [];
    const coupe = liste(etat.classementCoupe).map(objet).find(function (l) { return texte(l.numero) === numero; });
    if (coupe) {
      const exAequo = texte(coupe.rang).includes('ex aequo') ? ' ex aequo' : '';
      parties.push('Coupe : ' + ordinal(V.rangCourt(coupe.rang)) + exAequo + ', ' + texte(coupe.points) + ' pts');
    }
    for (const e of epreuvesTerminees(etat)) {
      const k = classementDe(etat, e).findIndex(function (l) { return texte(l.numero) === numero; });
      if (k >= 0) parties.push(V.nomEpreuve(etat, e) + ' : ' + ordinal(String(k + 1)));
    }
    const rang = liste(etat.classementEpreuve).findIndex(function (l) { return texte(objet(l).numero) === numero; });
    if (rang >= 0) parties.push('Épreuve : ' + ordinal(String(rang + 1)));
    parties.push(prochaineSerie(etat, numero));
    return parties.filter(Boolean).join(' · ');
  }

  // The pilot's series that has not flown yet: the current one while it is called or flies,
  // else the next that holds him, and how many series still to fly come before it (a series
  // with its results has flown).
  function prochaineSerie(etat, numero) {
    const series = V.seriesEnCours(etat);
    const courante = index(etat.serieCourante);
    const aVoler = function (s, i) { return i >= courante && s.avecResultats !== true; };
    const k = series.findIndex(function (s, i) {
      return aVoler(s, i) && liste(s.pilotes).some(function (p) { return texte(objet(p).numero) === numero; });
    });
    if (k < 0) return '';
    if (k === courante) return etat.serieDrapeau === true ? 'en vol' : 'Série n° ' + (k + 1) + ', en préparation';
    const avant = series.slice(0, k).filter(aVoler).length;
    return 'Série n° ' + (k + 1) + (avant ? ', dans ' + pluriel(avant, 'série') : ', la prochaine');
  }

  function montrerSuivis() {
    const ul = document.getElementById('suivis');
    const lignes = suivis.map(function (numero) {
      const li = el('li', 'suivi');
      li.append(el('span', 'numero', numero), ' ', el('strong', 'nom', pilotes.get(numero) || 'Pilote inconnu'));
      const ou = position(etatCourant, numero);
      if (ou) li.append(' · ', el('span', 'position', ou));
      const retirer = el('button', 'retirer', '×');
      retirer.type = 'button';
      retirer.setAttribute('aria-label', 'Ne plus suivre ' + (pilotes.get(numero) || numero));
      retirer.addEventListener('click', function () { changerSuivis(suivis.filter(function (n) { return n !== numero; })); });
      li.append(retirer);
      return li;
    });
    // Rebuilt only when a line says something new, so that a screen reader hears news only.
    const cle = JSON.stringify(lignes.map(function (l) { return l.textContent; }));
    if (ul.dataset.cle !== cle) {
      ul.dataset.cle = cle;
      ul.replaceChildren(...lignes);
    }
  }

  function changerSuivis(liste) {
    suivis = liste.slice(0, SUIVIS_MAX);
    ecrire(CLE_SUIVIS, JSON.stringify(suivis));
    montrerSuivis();
    proposer();
    decorer(performance.now());
  }

  function proposer() {
    const champ = document.getElementById('recherche');
    const ul = document.getElementById('propositions');
    const cherche = sansAccents(champ.value.trim());
    const trouves = [];
    if (cherche) {
      for (const [numero, nom] of pilotes) {
        if (numero.startsWith(cherche) || sansAccents(nom).includes(cherche)) trouves.push([numero, nom]);
        if (trouves.length === PROPOSITIONS_MAX) break;
      }
    }
    // Rebuilt on each state only if it says something new: a finger or a screen reader on a
    // proposal keeps it.
    const cle = JSON.stringify([trouves, suivis]);
    if (ul.dataset.cle === cle) return;
    ul.dataset.cle = cle;
    ul.replaceChildren(...trouves.map(function ([numero, nom]) {
      const li = el('li');
      const b = el('button', 'proposition');
      b.type = 'button';
      b.append(el('span', 'numero', numero), ' ', el('span', 'nom', nom));
      const deja = suivis.includes(numero);
      b.disabled = deja || suivis.length >= SUIVIS_MAX;
      b.title = deja ? 'Déjà suivi' : b.disabled ? 'Trois pilotes suivis au plus' : 'Suivre ce pilote';
      b.addEventListener('click', function () {
        changerSuivis(suivis.concat([numero]));
        champ.value = '';
        proposer();
      });
      li.append(b);
      return li;
    }));
    if (cherche && trouves.length === 0) ul.append(el('li', 'vide', 'Aucun pilote trouvé'));
  }

  function lireSuivis() {
    let lus = [];
    try { lus = JSON.parse(lire(CLE_SUIVIS) || '[]'); } catch (err) { lus = []; }
    lus = liste(lus).map(texte).filter(Boolean);
    // A shared link adds its pilot to those already followed here.
    const lien = new URLSearchParams(location.search).get('suivre');
    for (const n of (lien || '').split(',').map(function (t) { return t.trim(); }))
      if (/^\d+$/.test(n) && !lus.includes(n)) lus.push(n);
    // Taken once: a reload must not bring back a pilot the spectator stopped following.
    if (lien !== null) history.replaceState(null, '', location.pathname + location.hash);
    return lus.slice(-SUIVIS_MAX);
  }

  // Followed pilots' rows, arrows that still last, results that still stand out.
  function decorer(maintenant) {
    for (const n of document.querySelectorAll('.vues [data-numero]'))
      n.classList.toggle('suivi', suivis.includes(n.dataset.numero));
    for (const n of document.querySelectorAll('[data-mouvement]')) {
      const m = mouvements.get(n.dataset.mouvement);
      const places = m && m.jusqua > maintenant ? m.places : 0;
      const t = places ? (places > 0 ? '▲' : '▼') + Math.abs(places) : '';
      if (n.textContent === t) continue;
      n.textContent = t;
      n.className = 'mouvement' + (places > 0 ? ' monte' : places < 0 ? ' descend' : '');
      if (places) n.title = (places > 0 ? 'Gagne ' : 'Perd ') + pluriel(Math.abs(places), 'place');
      else n.removeAttribute('title');
    }
    for (const n of document.querySelectorAll('[data-arrivee]'))
      if (!((arrivees.get(n.dataset.arrivee) || 0) > maintenant)) n.classList.remove('arrive');
  }

  // ---- Tabs: one view at a time on a phone, deep links, the last one remembered. ----

  function vueDemandee() {
    const h = location.hash.slice(1);
    if (VUES[h]) return h;
    const gardee = lire(CLE_VUE);
    return VUES[gardee] ? gardee : 'series';
  }

  function choisirVue(nom, defiler) {
    for (const s of document.querySelectorAll('.vue')) s.classList.toggle('choisie', s.dataset.vue === nom);
    for (const a of document.querySelectorAll('.onglets a')) {
      if (a.dataset.vue === nom) a.setAttribute('aria-current', 'page');
      else a.removeAttribute('aria-current');
    }
    ecrire(CLE_VUE, nom);
    if (!defiler) return;
    const vue = document.getElementById(VUES[nom]);
    // Side by side, the tab brings its view into sight; alone, the view starts at its top.
    if (getComputedStyle(document.querySelector('.vue:not(.choisie)') || vue).display === 'none') window.scrollTo(0, 0);
    else vue.scrollIntoView({ block: 'start' });
  }

  // ---- Rendering: at most once per frame, and only the views whose inputs changed. ----

  const vues = {};
  let titreCoupe = '';
  let vueDuLien = null;

  function preparerVues() {
    for (const id of Object.values(VUES)) {
      const s = document.getElementById(id);
      vues[id] = {
        contenu: s.querySelector('[data-role="contenu"]'),
        sousTitre: s.querySelector('[data-role="epreuve"]'),
        chrono: s.querySelector('[data-role="chrono"]'),
        cle: null
      };
    }
  }

  function rendreVue(id, entrees, construire) {
    const v = vues[id];
    const cle = JSON.stringify(entrees);
    if (cle === v.cle) return;
    v.cle = cle;
    v.contenu.replaceChildren(construire());
  }

  function rendre(etat) {
    const maintenant = performance.now();
    const e = V.epreuveEnCours(etat);
    const nom = V.nomEpreuve(etat, e);
    const prep = objet(etat.preparation);

    for (const id of ['vue-series', 'vue-tableau']) vues[id].chrono.replaceChildren(V.chrono(etat));
    V.poserTexte(vues['vue-series'].sousTitre, nom);
    V.poserTexte(vues['vue-classement-epreuve'].sousTitre, nom);
    V.poserTexte(vues['vue-tableau'].sousTitre, nom);
    V.poserTexte(vues['vue-preparation'].sousTitre, texte(prep.titre));
    titreCoupe = texte(etat.titreCoupe);

    const enCours = [];
    arrivees.forEach(function (jusqua, cle) { if (jusqua > maintenant) enCours.push(cle); });
    rendreVue('vue-series', [e, V.seriesEnCours(etat), etat.serieCourante, enCours],
      function () { return vueSeries(etat, maintenant); });
    rendreVue('vue-preparation', [prep.trouvee, prep.pilotes],
      function () { return vuePreparation(prep); });
    rendreVue('vue-classement-epreuve', [etat.classementEpreuve],
      function () { return vueClassementEpreuve(liste(etat.classementEpreuve)); });
    rendreVue('vue-classement-coupe', [etat.classementCoupe],
      function () { return vueClassementCoupe(liste(etat.classementCoupe)); });
    rendreVue('vue-tableau', [e, etat.tableauEpreuve],
      function () { return V.tableau(e, liste(etat.tableauEpreuve)); });
    rendreVue('vue-journee', [e, etat.epreuves, etat.classementEpreuve],
      function () { return vueJournee(etat); });
    montrerEpreuve(etat);
    const [titre, heure] = [titreCoupe || TITRE_FIXE, heureDesDonnees()];
    for (const n of document.querySelectorAll('[data-papier]'))
      V.poserTexte(n, titre + ' · ' + n.dataset.papier + ' · ' + heure);

    etatCourant = etat;
    // A deep link on a wide screen brings its view into sight once the views hold something.
    if (vueDuLien) choisirVue(vueDuLien, true);
    vueDuLien = null;
    recenserPilotes(etat);
    montrerSuivis();
    if (document.getElementById('recherche').value) proposer();
    decorer(maintenant);
  }

  let etatEnAttente = null;
  function planifierRendu(etat) {
    const premier = etatEnAttente === null;
    etatEnAttente = etat;
    if (!premier) return;
    // A burst of events costs one rendering; a hidden tab renders when shown again.
    requestAnimationFrame(function () {
      const etat = etatEnAttente;
      etatEnAttente = null;
      rendre(etat);
    });
  }

  // ---- The cup title fades between the received title and the fixed one. ----

  function animerTitreCoupe() {
    const h = document.getElementById('titre-classement-coupe');
    setInterval(function () {
      h.classList.add('efface');
      setTimeout(function () {
        let suivant;
        if (h.textContent === titreCoupe) suivant = TITRE_FIXE;
        else suivant = titreCoupe || 'Classement général';
        h.textContent = suivant;
        h.classList.remove('efface');
      }, 700);
    }, PERIODE_TITRE_MS);
  }

  // ---- Status line. ----

  let arrivee = null;       // performance.now() when the shown state arrived
  let reprise = '';         // when the state the station took back from disk was taken
  let connexion = { ouvert: false, erreur: false, donnees: null };

  function recevoir(etat) {
    arrivee = performance.now();
    reprise = texte(etat.reprise);
    // Every state counts, also those a burst folds into one rendering.
    noterChangements(etat, arrivee);
    planifierRendu(etat);
    majEtatConnexion();
  }

  function duree(ms) {
    const s = Math.max(0, Math.floor(ms / 1000));
    if (s < 60) return s + ' s';
    const m = Math.floor(s / 60);
    if (m < 60) return m + ' min ' + (s % 60) + ' s';
    return Math.floor(m / 60) + ' h ' + (m % 60) + ' min';
  }

  // The data's clock time, for paper.
  function heureDesDonnees() {
    if (reprise) return 'état repris de ' + reprise;
    if (connexion.donnees === null) return 'en attente des données';
    const d = new Date(Date.now() - (performance.now() - connexion.donnees));
    return 'données du ' + d.toLocaleDateString('fr-FR') + ' à ' + d.toLocaleTimeString('fr-FR');
  }

  function majEtatConnexion() {
    const ligne = document.getElementById('etat-connexion');
    let message;
    let classe;
    let age = null;
    if (connexion.donnees !== null) age = performance.now() - connexion.donnees;
    if (connexion.erreur) {
      message = 'Connexion perdue, nouvelle tentative…';
      if (age !== null) message += ' (données reçues il y a ' + duree(age) + ')';
      else if (reprise) message += ' (état repris de ' + reprise + ')';
      classe = 'perdu';
    } else if (arrivee === null) {
      message = 'Connexion à la station…';
      classe = 'attente';
    } else if (reprise) {
      // The station restarted from what it had saved: no sender has spoken since.
      message = 'État repris de ' + reprise + ', en attente de l\'émetteur';
      classe = 'ancien';
    } else if (age === null) {
      message = 'En attente des premières données de la station';
      classe = 'attente';
    } else {
      message = 'Données reçues il y a ' + duree(age);
      classe = age > AGE_ANCIEN_MS ? 'ancien' : 'frais';
    }
    V.poserTexte(ligne, message);
    ligne.className = 'etat ' + classe;
  }

  V.auChargement(function () {
    preparerVues();
    suivis = lireSuivis();
    ecrire(CLE_SUIVIS, JSON.stringify(suivis));
    choisirVue(vueDemandee(), false);
    if (VUES[location.hash.slice(1)]) vueDuLien = location.hash.slice(1);
    window.addEventListener('hashchange', function () {
      if (VUES[location.hash.slice(1)]) choisirVue(location.hash.slice(1), true);
    });
    document.getElementById('recherche').addEventListener('input', proposer);
    document.getElementById('choix-epreuve').addEventListener('change', function (ev) {
      ecrire(CLE_EPREUVE, ev.target.value);
      montrerEpreuve(etatCourant);
    });
    connexion = V.connecter(recevoir, majEtatConnexion);
    majEtatConnexion();
    setInterval(function () {
      majEtatConnexion();
      decorer(performance.now());
    }, 1000);
    animerTitreCoupe();
  });
})();
