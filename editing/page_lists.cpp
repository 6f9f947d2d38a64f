#include "editing/page_lists.h"

#include <stdexcept>
#include <string>

#include "pages/tab_pages.h"

namespace tavoro {

namespace {

using plat::ctl::Control;

void AddOne(ControlList& list, Control* c, const char* name) {
  if (c == nullptr) throw std::runtime_error(std::string("page control ") + name + " is missing");
  list.push_back(c);
}

// The members `from` to `to` of a control array, in ascending order.
template <class T>
void AddRange(ControlList& list, plat::ctl::ControlArray<T>& array, int from, int to) {
  for (int i = from; i <= to; ++i) list.push_back(&array(i));
}

template <class T>
void AddEach(ControlList& list, plat::ctl::ControlArray<T>& array, std::initializer_list<int> indexes) {
  for (int i : indexes) list.push_back(&array(i));
}

}  // namespace

PageControlLists BuildPageControlLists(TabPages& p, Control& hsbKey) {
  PageControlLists l;

  ControlList& w = l.WaveControls;
  AddOne(w, p.txtPlayStart, "txtPlayStart");
  AddOne(w, p.txtPlayEnd, "txtPlayEnd");
  AddOne(w, p.txtLoopStart, "txtLoopStart");
  AddOne(w, p.txtLoopEnd, "txtLoopEnd");
  AddOne(w, p.txtLoopFract, "txtLoopFract");
  AddOne(w, p.txtWavePitch, "txtWavePitch");
  AddOne(w, p.txtWaveNote, "txtWaveNote");
  AddOne(w, p.txtFineTune, "txtFineTune");
  AddOne(w, p.txtWaveMode, "txtWaveMode");
  AddOne(w, p.txtWaveAddr, "txtWaveAddr");
  AddOne(w, p.txtWaveSize, "txtWaveSize");
  AddOne(w, p.txtChecksum, "txtChecksum");
  AddOne(w, p.txtWaveLen, "txtWaveLen");
  AddOne(w, p.txtSampPeriod, "txtSampPeriod");
  AddOne(w, p.txtWaveNorm, "txtWaveNorm");
  AddOne(w, p.optLoopEnb, "optLoopEnb");
  AddOne(w, p.optLoopDis, "optLoopDis");
  AddOne(w, p.optLoopFwdOnly, "optLoopFwdOnly");
  AddOne(w, p.optLoopFwdRev, "optLoopFwdRev");
  AddRange(w, p.hscWave, 0, 4);

  ControlList& t = l.ToneControls;
  AddOne(t, p.txtEnv1Att, "txtEnv1Att");
  AddOne(t, p.txtEnv1Sus, "txtEnv1Sus");
  AddOne(t, p.txtEnv1Dec, "txtEnv1Dec");
  AddOne(t, p.txtEnv1Rel, "txtEnv1Rel");
  AddOne(t, p.sldEnv1Att, "sldEnv1Att");
  AddOne(t, p.sldEnv1Sus, "sldEnv1Sus");
  AddOne(t, p.sldEnv1Dec, "sldEnv1Dec");
  AddOne(t, p.sldEnv1Rel, "sldEnv1Rel");
  AddOne(t, p.txtEnv2Att, "txtEnv2Att");
  AddOne(t, p.txtEnv2Sus, "txtEnv2Sus");
  AddOne(t, p.txtEnv2Dec, "txtEnv2Dec");
  AddOne(t, p.txtEnv2Rel, "txtEnv2Rel");
  AddOne(t, p.sldEnv2Att, "sldEnv2Att");
  AddOne(t, p.sldEnv2Sus, "sldEnv2Sus");
  AddOne(t, p.sldEnv2Dec, "sldEnv2Dec");
  AddOne(t, p.sldEnv2Rel, "sldEnv2Rel");
  AddRange(t, p.optToneEnvSel, 0, 11);
  AddRange(t, p.cboTone, 0, 7);
  AddRange(t, p.optToneModMode, 0, 31);

  ControlList& t2 = l.ToneControls2;
  AddRange(t2, p.txtDCA, 0, 2);
  AddRange(t2, p.sldDCA, 0, 2);
  AddRange(t2, p.txtDCF, 0, 4);
  AddRange(t2, p.sldDCF, 0, 4);
  AddRange(t2, p.txtDCO, 0, 3);
  AddRange(t2, p.sldDCO, 0, 3);
  AddRange(t2, p.txtPan, 0, 3);
  AddRange(t2, p.sldPan, 0, 3);
  AddRange(t2, p.txtLFO, 0, 5);
  AddRange(t2, p.sldLFO, 0, 5);
  AddEach(t2, p.spnTone, {0});
  AddRange(t2, p.txtTone, 0, 1);

  ControlList& m = l.MapControls;
  AddRange(m, p.txtMap, 0, 10);
  AddEach(m, p.sldMap, {7});
  AddEach(m, p.sldMapH, {9});
  m.push_back(&hsbKey);
  AddRange(m, p.optMap, 0, 5);

  ControlList& pr = l.PresetControls;
  AddRange(pr, p.cboPreset, 0, 6);
  AddRange(pr, p.txtPreset, 0, 25);
  AddEach(pr, p.hsldPreset, {16});
  AddEach(pr, p.sldPreset, {0, 1, 4, 12, 17, 18, 19, 20, 21, 22, 23, 24});
  AddRange(pr, p.optPreset, 0, 10);

  ControlList& mu = l.MultiControls;
  AddRange(mu, p.txtGlobal, 0, 5);
  AddEach(mu, p.sldGlobal, {5});
  AddRange(mu, p.optGlobal, 0, 7);

  ControlList& g = l.GlobalControls;
  AddRange(g, p.txtGlobal, 6, 9);
  AddEach(g, p.sldGlobal, {7, 9});
  AddEach(g, p.spnGlobal, {6});
  AddRange(g, p.optGlobal, 8, 12);

  l.BlackKey = kBlackKey;
  return l;
}

}  // namespace tavoro
