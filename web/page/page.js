"use strict";
// Shows the raw state until the real page replaces this one.
const source = new EventSource("evenements");
source.addEventListener("etat", (e) => {
    document.getElementById("etat").textContent = e.data;
});
