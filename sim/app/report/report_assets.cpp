#include "sim/app/report/report_assets.h"

const char* const kReportErrorCatcher = R"(
window.onerror = function (message, source, line) {
  var box = document.getElementById('script-errors');
  if (!box) {
    box = document.createElement('pre');
    box.id = 'script-errors';
    document.documentElement.appendChild(box);
  }
  box.hidden = false;
  box.textContent += message + ' (line ' + line + ')\n';
};
)";

const char* const kReportStyle = R"(
body { font: 14px/1.45 system-ui, sans-serif; color: #222; margin: 0 auto; max-width: 1240px;
       padding: 0 16px 40px; }
h1 { font-size: 1.5em; margin-bottom: 0.2em; }
h2 { margin-top: 1.6em; border-bottom: 1px solid #ddd; }
nav a { margin-right: 1em; }
table { border-collapse: collapse; }
td, th { padding: 2px 10px 2px 0; text-align: left; border-bottom: 1px solid #eee;
         vertical-align: top; }
td.n, th.n { text-align: right; }
td.role { white-space: nowrap; }
.scroll { overflow-x: auto; border: 1px solid #ddd; }
#script-errors { background: #fdd; color: #900; padding: 8px; white-space: pre-wrap; }
.swatch, table.peds td.role::before { display: inline-block; width: 12px; height: 12px;
  margin-right: 4px; vertical-align: -1px; background: var(--c); content: ""; }
.legend span.item { margin-right: 14px; white-space: nowrap; }
#log p.hit, details.hit > summary { background: #fff3a0; outline: 2px solid #e0b000; }

.r-aggressor { --c: #d62728; } .r-victim { --c: #1f77b4; } .r-lawman { --c: #6a3d9a; }
.r-bystander { --c: #8c8c8c; } .r-predator { --c: #ff7f0e; } .r-robber { --c: #8c2d04; }
.r-driver { --c: #2ca02c; } .r-rider { --c: #e377c2; } .r-horse { --c: #b5b31b; }
.o-completed { --c: #2ca02c; } .o-no-candidates { --c: #b8b8b8; } .o-failed { --c: #d62728; }
.o-bounded { --c: #ff7f0e; } .o-unfinished { --c: #6a3d9a; }

svg.timeline { display: block; background: #fff; }
svg.timeline text { font-size: 11px; fill: #333; }
svg.timeline .lane { font-weight: 600; }
svg.timeline .slot { fill: transparent; }
svg.timeline .slot:hover { fill: rgba(0, 0, 0, 0.06); }
svg.timeline .tick { stroke: #e4e4e4; }
svg.timeline .encounter { fill: var(--c); }
svg.timeline .weather { fill: #5b8fd6; }
svg.timeline .mission { fill: #9a9a9a; }
svg.timeline .gamestate { fill: #6b5b95; }
svg.timeline .death { fill: #000; }
svg.timeline .lightning { fill: #e0a800; }
svg.timeline a text { fill: #fff; pointer-events: none; }

svg.map { display: block; width: 100%; max-height: 680px; background: #f6f3ea;
          border: 1px solid #ddd; }
svg.map * { vector-effect: non-scaling-stroke; }
svg.map .water { fill: #a9cbe8; stroke: none; }
svg.map .ridge { fill: #d8c69c; opacity: 0.6; stroke: none; }
svg.map .slope { fill: #e4d9b8; opacity: 0.45; stroke: none; }
svg.map .cliff { stroke: #8a6d3b; stroke-width: 2px; }
svg.map .player { fill: none; stroke: #333; stroke-width: 1.5px; stroke-dasharray: 5 3; }
svg.map .track { fill: none; stroke: var(--c); stroke-width: 2.5px; stroke-linejoin: round; }
svg.overview .track { stroke-width: 1.5px; opacity: 0.7; }
svg.map .player-at { stroke: #222; stroke-width: 11px; stroke-linecap: round; }
svg.map .end { stroke: var(--c); stroke-width: 9px; stroke-linecap: round; }
svg.map .death { fill: none; stroke: #000; stroke-width: 2.5px; }
svg.map .blip { fill: rgba(220, 0, 150, 0.3); stroke: #c0008a; stroke-width: 1.5px; }
svg.map .lightning { fill: none; stroke: #e0a800; stroke-width: 2.5px; }
svg.map .encounter { fill: var(--c); stroke: #fff; stroke-width: 1px; }
svg.map text { fill: #333; }
svg.map .scale path { fill: none; stroke: #000; stroke-width: 2px; }

details.encounter { border-top: 1px solid #eee; padding: 4px 0; }
details.encounter > summary { cursor: pointer; }
.encounter-body { display: grid; grid-template-columns: minmax(320px, 3fr) minmax(260px, 2fr);
                  gap: 16px; margin: 8px 0 16px; }

#log p { margin: 0; font: 12px/1.35 ui-monospace, monospace; white-space: pre-wrap; }
#log .lv-d { color: #666; }
#log .lv-e { color: #b00000; font-weight: 600; }
.log-chunk > summary { cursor: pointer; color: #444; }
)";

const char* const kSweepReportStyle = R"(
.pass { --c: #5b8fd6; } .fail { --c: #d62728; }
.histograms { display: flex; flex-wrap: wrap; gap: 8px 24px; }
.histograms figure { margin: 0; }
.histograms figcaption { font-weight: 600; }
svg.histogram rect { fill: var(--c); }
svg.histogram text { font-size: 11px; fill: #333; }
table.spread td.sub { padding-left: 1.2em; }
table.failing code { white-space: nowrap; }
)";

const char* const kReportScript = R"(
(function () {
  'use strict';
  // A folded piece keeps its content as text until it is first shown: an encounter's map and
  // table as markup, a stretch of the log as lines, each made a <p id="l<index>">.
  function expand(details) {
    var text = details.querySelector(':scope > textarea.deferred, :scope > div > textarea.deferred');
    if (!text) {
      return;
    }
    var holder = document.createElement('div');
    if (details.classList.contains('log-chunk')) {
      var first = Number(details.getAttribute('data-first'));
      var lines = text.value.split('\n');
      for (var i = 0; i < lines.length; i++) {
        var line = document.createElement('p');
        var level = /^\S+ \[(\w+)\]/.exec(lines[i]);
        line.id = 'l' + (first + i);
        line.className = 'lv-' + (level ? level[1].charAt(0).toLowerCase() : 'i');
        line.textContent = lines[i];
        holder.appendChild(line);
      }
    } else {
      holder.innerHTML = text.value;
    }
    while (holder.firstChild) {
      text.parentNode.insertBefore(holder.firstChild, text);
    }
    text.parentNode.removeChild(text);
  }
  document.addEventListener('toggle', function (event) {
    if (event.target.open) {
      expand(event.target);
    }
  }, true);

  // The stretch of the log that holds line "l<index>".
  function chunkOfLine(id) {
    var match = /^l(\d+)$/.exec(id);
    var found = null;
    if (match) {
      var chunks = document.querySelectorAll('.log-chunk');
      for (var i = 0; i < chunks.length; i++) {
        if (Number(chunks[i].getAttribute('data-first')) <= Number(match[1])) {
          found = chunks[i];
        }
      }
    }
    return found;
  }

  var marked = null;
  function reveal(id) {
    var target = document.getElementById(id);
    if (!target) {
      var chunk = chunkOfLine(id);
      if (chunk) {
        expand(chunk);
      }
      target = document.getElementById(id);
    }
    if (!target) {
      return;
    }
    for (var node = target; node; node = node.parentElement) {
      if (node.tagName === 'DETAILS') {
        expand(node);
        node.open = true;
      }
    }
    if (marked) {
      marked.classList.remove('hit');
    }
    marked = target;
    target.classList.add('hit');
    var box = target.getBoundingClientRect();
    if (box.top < 0 || box.bottom > window.innerHeight) {
      target.scrollIntoView({block: 'start'});
    }
  }
  function follow() {
    if (location.hash.length > 1) {
      reveal(decodeURIComponent(location.hash.slice(1)));
    }
  }
  window.addEventListener('hashchange', follow);
  // A link to where the address already points fires no hashchange.
  document.addEventListener('click', function (event) {
    var link = event.target.closest ? event.target.closest('a') : null;
    var href = link ? link.getAttribute('href') : null;
    if (href && href === location.hash) {
      reveal(href.slice(1));
    }
  });

  var filter = document.getElementById('log-filter');
  var count = document.getElementById('log-count');
  var pending = 0;
  function applyFilter() {
    var text = filter.value.toLowerCase();
    var chunks = document.querySelectorAll('.log-chunk');
    var shown = 0;
    for (var i = 0; i < chunks.length; i++) {
      if (text) {
        expand(chunks[i]);
      }
      var lines = chunks[i].getElementsByTagName('p');
      var any = false;
      for (var j = 0; j < lines.length; j++) {
        var hit = !text || lines[j].textContent.toLowerCase().indexOf(text) >= 0;
        lines[j].hidden = !hit;
        if (hit) {
          any = true;
          shown++;
        }
      }
      chunks[i].hidden = Boolean(text) && !any;
      if (text && any) {
        chunks[i].open = true;
      }
    }
    count.textContent = text ? shown + ' lines match' : '';
  }
  filter.addEventListener('input', function () {
    clearTimeout(pending);
    pending = setTimeout(applyFilter, 200);
  });

  var open = document.querySelectorAll('details[open]');
  for (var k = 0; k < open.length; k++) {
    expand(open[k]);
  }
  follow();
  document.documentElement.setAttribute('data-script', 'ready');
})();
)";
