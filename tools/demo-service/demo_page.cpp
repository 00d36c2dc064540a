#include "demo_page.h"

namespace vorna::demo {
namespace {

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

const char kPageHead[] = R"HTML(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>收银台 · 演示</title>
<style>
body { font: 13px sans-serif; margin: 0; background: #f3f5f7; color: #222; }
header { background: #1f6feb; color: #fff; padding: 8px 12px; font-size: 15px; }
section { background: #fff; margin: 8px; padding: 8px; border-radius: 6px; }
h2 { font-size: 13px; margin: 0 0 6px; color: #1f6feb; }
button { margin: 2px; padding: 4px 8px; }
input, textarea { margin: 2px; padding: 3px; box-sizing: border-box; }
textarea { width: 100%; height: 60px; }
#log { font: 12px monospace; white-space: pre-wrap; max-height: 180px; overflow: auto;
       background: #111; color: #9f9; padding: 6px; }
.callback { color: #ff9; }
.error { color: #f88; }
pre { margin: 0; font-size: 11px; color: #555; white-space: pre-wrap; word-break: break-all; }
iframe { width: 100%; height: 28px; border: 1px dashed #aaa; }
</style></head><body>
<header>Vorna 收银台（演示页）</header>
<section><h2>本次请求的识别头</h2><pre>)HTML";

const char kPageBody[] = R"HTML(</pre>
<iframe src="/master/frame"></iframe></section>

<section><h2>记录</h2>
<button onclick="callEverything()">依次调用（扩展屏与全屏除外）</button>
<button onclick="document.getElementById('log').textContent = ''">清空</button>
<div id="log"></div></section>

<section><h2>软件与桌面</h2>
<button onclick="call('getSoftInfo')">getSoftInfo</button>
<button onclick="call('hasKeyboard')">hasKeyboard</button>
<button onclick="call('isMultiScreen')">isMultiScreen</button>
<button onclick="call('getScreenCount')">getScreenCount</button>
<button onclick="call('getViceScreenRegion')">getViceScreenRegion</button>
<button onclick="call('setExtendDualview')">setExtendDualview</button>
<button onclick="call('setFullScreen')">setFullScreen()</button>
<button onclick="call('setFullScreen', false)">退出全屏</button><br>
<input id="clip" value="会员卡号 8800123" size="24">
<button onclick="call('copyUnicodeText', val('clip'))">copyUnicodeText</button>
<button onclick="call('copyText', val('clip'))">copyText</button><br>
<input id="url" value="https://www.example.com/" size="24">
<button onclick="call('rootDefaultBrowser', val('url'))">rootDefaultBrowser</button>
</section>

<section><h2>小票打印与钱箱</h2>
订单号 <input id="order" value="A1001" size="10">
份数 <input id="copies" value="1" size="2">
纸宽 <input id="paper" value="58" size="3"><br>
<textarea id="template"><!--table "middle dwh">演示小店</table--><!--table "br"></table--><!--table "left">第_LIAN_NUM_联</table--><!--table "dividing"></table--><!--table "td w60">苹果</table--><!--table "td w40 right">12.50</table--><!--table "tr"></table--><!--table "joint">合计</table--></textarea>
<button onclick="call('printInvoice', val('order'), val('template'), num('copies'), num('paper'))">printInvoice</button>
<button onclick="call('hasUSBPrinterConnected')">hasUSBPrinterConnected</button>
<button onclick="call('openCrashBox')">openCrashBox</button>
</section>

<section><h2>会员卡</h2>
UID <input id="uid" value="" size="10"> 密钥 <input id="key" value="FFFFFF" size="6"><br>
卡号 <input id="cardNumber" value="8800123" size="8"> 姓名 <input id="cardName" value="王小明" size="6">
余额 <input id="cardTotal" value="100.00" size="6"><br>
<button onclick="detectCard()">isHasCard(true)</button>
<button onclick="call('isHasCard', false)">isHasCard(false)</button>
<button onclick="call('createNewCard', cardObject())">createNewCard</button>
<button onclick="call('writeDataToCard', cardObject())">writeDataToCard</button>
<button onclick="call('readDataFromCard', {uid: val('uid'), key: val('key')})">readDataFromCard</button>
<button onclick="call('playBuzzer', 1)">playBuzzer</button>
</section>

<section><h2>商品标签</h2>
编号 <input id="tagNumber" value="1001" size="5"> 价格 <input id="tagPrice" value="12.5" size="5">
名称 <input id="tagName" value="苹果" size="8"><br>
<button onclick="call('writeDataToTag', {number: num('tagNumber'), price: Number(val('tagPrice')), name: val('tagName')})">writeDataToTag</button>
<button onclick="call('readDataFromTag')">readDataFromTag</button>
<button onclick="call('isReadCompletion')">isReadCompletion</button>
<button onclick="call('clearRecord')">clearRecord</button>
<button onclick="call('setRFPower', 1)">setRFPower(1)</button>
</section>

<section><h2>电子秤与串口</h2>
端口 <input id="port" value="COM3" size="6">
<button onclick="call('getElectronicWeigherInfo', val('port'))">getElectronicWeigherInfo</button>
<button onclick="call('getAllComPort')">getAllComPort</button>
</section>

<section><h2>来电</h2>
<button onclick="call('startListenPNThread')">startListenPNThread</button>
<button onclick="call('closeListenPNThread')">closeListenPNThread</button>
<button onclick="call('startLandlineCapture')">startLandlineCapture</button>
<button onclick="call('closeLandlineCapture')">closeLandlineCapture</button>
</section>


<script>
function val(id) { return document.getElementById(id).value; }
function num(id) { return Number(val(id)); }
function show(v) { return v === undefined ? "undefined" : JSON.stringify(v); }
function line(text, kind) {
  var log = document.getElementById("log");
  var row = document.createElement("div");
  if (kind) row.className = kind;
  row.textContent = new Date().toLocaleTimeString() + "  " + text;
  log.insertBefore(row, log.firstChild);
}
function call(name) {
  var args = Array.prototype.slice.call(arguments, 1);
  if (typeof app !== "object" || typeof app[name] !== "function") {
    line(name + ": 没有 app 对象（不在客户端中打开？）", "error");
    return undefined;
  }
  try {
    var result = app[name].apply(app, args);
    line(name + "(" + args.map(show).join(", ") + ") → " + show(result));
    return result;
  } catch (e) {
    line(name + " 抛出异常: " + e.message, "error");
  }
}
function cardObject() {
  return {uid: val("uid"), key: val("key"), number: val("cardNumber"), name: val("cardName"),
          total: val("cardTotal")};
}
function detectCard() {
  var r = call("isHasCard", true);
  if (r && r.state === 0) document.getElementById("uid").value = r.uid;
}
// The client calls these two from the main window.
function phoneCall(number) { line("来电 phoneCall(" + show(number) + ")", "callback"); }
function printInvoiceFeedBack(order, code) {
  line("打印结果 printInvoiceFeedBack(" + show(order) + ", " + show(code) + ")", "callback");
}
function callEverything() {
  call("rootDefaultBrowser", "");
  call("getSoftInfo");
  call("copyUnicodeText", val("clip"));
  call("copyText", val("clip"));
  call("printInvoice", val("order"), val("template"), num("copies"), num("paper"));
  call("hasUSBPrinterConnected");
  call("openCrashBox");
  call("isMultiScreen");
  call("getViceScreenRegion");
  call("getScreenCount");
  call("getElectronicWeigherInfo", val("port"));
  call("getAllComPort");
  call("startListenPNThread");
  call("closeListenPNThread");
  call("startLandlineCapture");
  call("closeLandlineCapture");
  call("writeDataToTag", {number: num("tagNumber"), price: Number(val("tagPrice")), name: val("tagName")});
  call("readDataFromTag");
  call("clearRecord");
  call("setRFPower", 1);
  call("isReadCompletion");
  call("isHasCard", true);
  call("createNewCard", cardObject());
  call("writeDataToCard", cardObject());
  call("readDataFromCard", {uid: val("uid"), key: val("key")});
  call("playBuzzer", 1);
  call("hasKeyboard");
  line("setExtendDualview 与 setFullScreen 请单独点击（会改变屏幕与窗口）");
}
line(typeof app === "object" ? "app 对象已就绪：" + Object.keys(app).length + " 个函数"
                             : "没有 app 对象", typeof app === "object" ? "" : "error");
</script>
</body></html>
)HTML";

}  // namespace

std::string CashierPage(const std::string& requestHeaders) {
  return std::string(kPageHead) + HtmlEscape(requestHeaders) + kPageBody;
}

}  // namespace vorna::demo
