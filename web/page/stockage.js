// What the page keeps on the device. The device may refuse storage (private browsing): the
// page then forgets on reload.
export function lire(cle) { try { return localStorage.getItem(cle); } catch (err) { return null; } }
export function ecrire(cle, valeur) { try { localStorage.setItem(cle, valeur); } catch (err) { /* see above */ } }
