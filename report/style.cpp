// The report page's style sheet, inlined into the page's <style>.
#include "report/style.h"

namespace report {

const char kPageStyle[] = R"(
:root{--fluent:#46d1a6;--fluent-ink:#1a1a1a;--getting:#a68256;--getting-ink:#1a1a1a;--slow:#903f00;--slow-ink:#fff;--missed:#56071e;--missed-ink:#fff;--unseen:#ffffff;--unseen-ink:#1a1a1a;--class1:#d2def4;--class2:#93acd9;--class3:#3d63a8;--class4:#142d5e;--ink:#1a1a1a;--line:#999}
*{box-sizing:border-box}
body{font-family:"Noto Sans CJK JP","Hiragino Sans","Yu Gothic","Meiryo",sans-serif;color:var(--ink);margin:0 auto;padding:12px;max-width:1240px;line-height:1.5}
h1{font-size:1.5em;margin:.2em 0}
h1 small.range{display:block;font-size:.7em}
header p{margin:.2em 0}
#need h2{margin-top:.5em}
#need>p{margin:.2em 0 .4em}
table.need{margin-bottom:.3em}
table.need caption{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0)}
table.need th,table.need td{padding:1px 8px;line-height:1.35}
table.need th[scope=row]{font-weight:bold;text-align:left;background:#fff}
table.need td.facts{white-space:normal}
.fact{display:inline-block;white-space:nowrap;margin:1px 1.2em 1px 0}
.fact .key{min-width:1.25em;height:1.25em;line-height:1.25em}
.long{display:inline-block;border:1.5px solid var(--ink);border-radius:3px;font-size:.8em;line-height:1.2;padding:0 2px;margin-left:3px;font-weight:bold}
i.few-mark{font-style:normal;font-size:.85em}
a.top{float:right;font-size:.65em;font-weight:normal;margin-top:.3em}
table.rows{margin:.3em 0}
table.rows th,table.rows td{padding:1px 5px;font-size:.9em}
table.classlist td.who{min-width:14em;max-width:30em}
tr.not-started td{color:#444}
h2{font-size:1.25em;border-bottom:2px solid var(--ink);margin:1.2em 0 .4em}
h3{font-size:1.1em;margin:.8em 0 .3em}
h4{font-size:1em;margin:.6em 0 .2em}
table{border-collapse:collapse}
caption{text-align:left;font-weight:bold;padding:.2em 0;caption-side:top}
caption small{display:block;font-weight:normal}
th,td{border:1px solid var(--line);padding:2px 6px}
th{background:#f0f0f0;font-weight:normal;white-space:nowrap}
.scroll{overflow-x:auto}
table.practice td,table.classlist caption,table.overview td{white-space:nowrap}
p.counts{margin:0}
.num{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}
.drill{display:grid;grid-template-columns:1fr 1fr;gap:8px 24px;margin-bottom:1em;align-items:start}
.drill>.drill-head{grid-column:1/-1}
.chart>svg{width:100%;height:auto;max-width:760px;display:block}
.chart .avg{fill:none;stroke:#1f5fa8;stroke-width:1.5}
.chart .mis{fill:none;stroke:#b3261e;stroke-width:1;stroke-dasharray:3 2}
.chart>svg .full,.chart>svg .short{fill:none;stroke:#1f5fa8;stroke-width:7;stroke-linecap:round}
.chart>svg .short-in{fill:none;stroke:#fff;stroke-width:3.5;stroke-linecap:round}
.chart>svg .mp{fill:none;stroke:#b3261e;stroke-width:3.5;stroke-linecap:square}
.chart>svg .focus{fill:#1f5fa8;stroke:#1f5fa8;stroke-width:1.5;stroke-linejoin:round}
.chart>svg .focus-short{fill:#fff;stroke:#1f5fa8;stroke-width:1.5;stroke-linejoin:round}
.chart-key .full{fill:#1f5fa8}
.chart-key .short{fill:#fff;stroke:#1f5fa8;stroke-width:1.5}
.chart-key .mp{fill:#b3261e}
.chart-key .focus{fill:#1f5fa8;stroke:#1f5fa8}
.chart .axis{stroke:#666;stroke-width:1}
.chart .gridline{stroke:#ddd;stroke-width:1}
.chart text{font-size:13px;fill:#333}
.chart-key{margin:.2em 0;font-size:.9em}
.chart-key svg{vertical-align:middle}
details{margin:.3em 0}
table.points td,table.points th{padding:1px 6px}
table.points td+td{text-align:right;font-variant-numeric:tabular-nums}
table.grid{table-layout:fixed}
table.grid td,table.grid th{width:2.7em;height:2.6em;text-align:center;padding:0;font-size:.85em;line-height:1.15}
table.grid td b{display:block;font-weight:normal;font-size:1.1em}
table.grid td{position:relative}
table.grid td i.few-mark{position:absolute;top:1px;right:1px;font-size:.62em;line-height:1}
table.grid td i.due-mark{position:absolute;top:1px;left:1px;font-size:.62em;line-height:1;font-style:normal}
.key i{font-style:normal;font-size:.8em;vertical-align:top}
table.grid th[scope=row]{width:3em}
td.fluent,.key.fluent{background:var(--fluent);color:var(--fluent-ink)}
td.getting,.key.getting{background:var(--getting);color:var(--getting-ink)}
td.slow,.key.slow{background:var(--slow);color:var(--slow-ink)}
td.missed,.key.missed{background:var(--missed);color:var(--missed-ink)}
td.unseen,.key.unseen{background:var(--unseen);color:var(--unseen-ink)}
td.never,.key.never{background:#d9d9d9}
td.few{outline:2px dashed currentColor;outline-offset:-2px}
.key{display:inline-block;min-width:1.5em;height:1.5em;line-height:1.5em;text-align:center;border:1px solid var(--line);vertical-align:middle;margin-right:3px}
.legend ul{padding:0;margin:0}
.legend li{list-style:none;margin:3px 0}
.keyline{font-size:.9em;margin:.2em 0 .6em}
.keyline span.item{white-space:nowrap;margin-right:.8em}
.bar{display:inline-flex;width:7em;height:1.1em;border:1px solid var(--line);vertical-align:middle;margin-right:6px}
.bar span{display:block;height:100%}
.bar .fluent{background:var(--fluent)}
.bar .getting{background:var(--getting)}
.bar .slow{background:var(--slow)}
.bar .missed{background:var(--missed)}
.bar .unseen{background:var(--unseen)}
.tally{white-space:nowrap;font-variant-numeric:tabular-nums;font-size:.9em}
table.overview th small{display:block;font-size:.8em}
table.overview td.name{vertical-align:top;font-weight:bold}
table.overview td.states{white-space:normal}
table.overview td,table.overview th{padding:2px 4px}
td.c1{background:var(--class1)}
td.c2{background:var(--class2)}
td.c3{background:var(--class3);color:#fff}
td.c4{background:var(--class4);color:#fff}
.grids{display:flex;flex-wrap:wrap;gap:8px 24px}
.better{color:#1b6e2d}
.worse{color:#a4231b;font-weight:bold}
code{word-break:break-all}
table.sheet{width:100%;border-collapse:collapse;table-layout:fixed}
.facts,.slots,.practice,.grids>div,.legend{max-width:100%}
table.sheet>*>tr>td{border:0;padding:0}
@media (max-width:760px){.drill{grid-template-columns:1fr}}
@media (max-width:640px){
body{padding:6px;font-size:15px}
.chart text{font-size:21px}
table.grid td,table.grid th{width:2.6em;height:2.5em;font-size:.78em}
table.grid th[scope=row]{width:2.5em}
table.overview,table.overview caption,table.overview tbody,table.overview tr{display:block}
table.overview thead{display:none}
table.overview tr{border:1px solid var(--line);margin:0 0 6px;padding:3px 6px}
table.overview td{display:inline-block;border:0;padding:0 .9em 0 0;text-align:left}
table.overview td::before{content:attr(data-label) "：";color:#555}
table.overview td.name,table.overview td.drill-name{font-weight:bold}
table.overview td.name::before,table.overview td.drill-name::before{content:none}
table.overview td.states{display:block}
.bar{width:8em}
table.slots td,table.slots th,table.practice td,table.practice th,table.need th,table.need td{white-space:normal;padding:2px 4px}
table.classlist td.who{min-width:0}
table.need,table.need tbody,table.need tr{display:block}
table.need thead{display:none}
table.need tr{border-top:1px solid var(--line);padding:4px 0}
table.need th,table.need td{display:inline-block;border:0;padding:0 .8em 0 0}
table.need th[scope=row]{display:block}
table.need td.facts{display:block}
table.need td[data-label]::before{content:attr(data-label) "：";color:#555}
table.points td,table.points th{white-space:normal}
table.overview td.states .tally{white-space:normal}
table.rows th,table.rows td{padding:1px 2px;font-size:.78em}
.grids>div{max-width:100%}
}
@page{size:A4;margin:11mm}
@media print{
body{max-width:none;padding:0;font-size:9.5pt}
section.learner{break-before:page}
a.top{display:none}
table.overview{font-size:8pt}
table.overview td,table.overview th{padding:0 3px;line-height:1.25}
table.overview caption small{display:inline;margin-left:1em}
table.overview .bar{width:6em;height:.9em}
table.overview td.states{white-space:nowrap}
#files{break-before:page}
#files.none{display:none}
#need{break-inside:avoid}
table.sheet h2{margin-top:0}
.drill-head,#class .drill-map{break-inside:avoid}
.drill{grid-template-columns:1fr 1fr;break-inside:auto}
.chart,.facts,.grids>div,table.slots,table.practice,table.rows{break-inside:avoid}
details{display:none}
.facts,.slots,.practice,.grids>div,.legend{overflow:visible}
table.slots,table.practice{font-size:8pt}
table.slots td,table.slots th,table.practice td,table.practice th{padding:1px 3px}
.legend{columns:2;column-gap:18px;font-size:8.5pt}
.legend h2{column-span:all}
.legend li,.legend p{break-inside:avoid}
table.classmap td,table.classmap th{height:1.75em;width:2.3em}
td,th,.key,.bar span{-webkit-print-color-adjust:exact;print-color-adjust:exact}
a{color:inherit;text-decoration:none}
}
)";

}  // namespace report
