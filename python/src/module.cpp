// The compiled part of the Python package tessivar: the engine's array entry and its answer-file
// run, taking NumPy arrays and handing back plain Python values. The package's Python side
// (tessivar/__init__.py) gives each method its own function, checks the keywords the engine
// does not see as they are (the precision's name, whole numbers) and raises the errors.
#include <pybind11/complex.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <complex>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "voxtrel/estimate.h"
#include "voxtrel/order_scan.h"
#include "voxtrel/run.h"

namespace py = pybind11;

namespace {

using cfloat = std::complex<float>;
template <class T>
using Samples = py::array_t<T, py::array::c_style | py::array::forcecast>;
using RealArray = Samples<float>;
using ComplexArray = Samples<cfloat>;

// A NumPy array over the vector's own storage: the vector is moved into a capsule that the
// array keeps alive, so the values are not copied.
template <class T>
py::array_t<T> toArray(std::vector<T>&& v) {
  auto* owner = new std::vector<T>(std::move(v));
  const py::capsule free(owner, [](void* p) { delete static_cast<std::vector<T>*>(p); });
  return py::array_t<T>(static_cast<py::ssize_t>(owner->size()), owner->data(), free);
}

// The run log is single-byte text (its trace lines carry the byte 0xAF): decoded as Latin-1,
// each byte one character.
py::str singleByte(const std::string& s) {
  PyObject* o = PyUnicode_DecodeLatin1(s.data(), static_cast<Py_ssize_t>(s.size()), nullptr);
  if (!o) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(o);
}

py::dict peaksOf(const std::vector<voxtrel::Peak>& peaks) {
  std::vector<float> f, d;
  f.reserve(peaks.size());
  d.reserve(peaks.size());
  for (const auto& p : peaks) {
    f.push_back(p.freq);
    d.push_back(p.db);
  }
  py::dict out;
  out["freq"] = toArray(std::move(f));
  out["db"] = toArray(std::move(d));
  return out;
}

const char* statusName(voxtrel::EstimateStatus s) {
  switch (s) {
    case voxtrel::EstimateStatus::Ok:
      return "ok";
    case voxtrel::EstimateStatus::BadParameter:
      return "bad parameter";
    case voxtrel::EstimateStatus::EstimatorFailed:
      return "estimator failed";
    case voxtrel::EstimateStatus::Stopped:
      return "stopped";
  }
  return "stopped";
}

py::dict resultDict(voxtrel::EstimateResult&& r) {
  py::dict out;
  out["status"] = statusName(r.status);
  out["message"] = singleByte(r.message);
  out["samples_used"] = r.samplesUsed;
  out["freq"] = toArray(std::move(r.freq));
  out["psd"] = toArray(std::move(r.psd));
  out["db"] = toArray(std::move(r.db));
  out["ar"] = toArray(std::move(r.ar));
  out["ma"] = toArray(std::move(r.ma));
  out["sig2"] = r.sig2;
  out["peaks"] = peaksOf(r.peaks);
  out["log"] = singleByte(r.log);
  return out;
}

voxtrel::Precision precisionOf(bool doublePrecision) {
  return doublePrecision ? voxtrel::Precision::Double : voxtrel::Precision::Single;
}

voxtrel::EstimateParams paramsOf(int method, const py::dict& kw) {
  voxtrel::EstimateParams p;
  p.method = static_cast<voxtrel::EstimateMethod>(method);
  p.negativeFrequencies = kw["negative_frequencies"].cast<bool>();
  p.nPoints = kw["n_points"].cast<int>();
  p.nPoles = kw["n_poles"].cast<int>();
  p.nZeros = kw["n_zeros"].cast<int>();
  p.eps = kw["eps"].cast<float>();
  p.mode = kw["mode"].cast<int>();
  p.mEqs = kw["m_eqs"].cast<int>();
  p.lPts = kw["l_pts"].cast<int>();
  p.mLags = kw["m_lag"].cast<int>();
  p.nit = kw["nit"].cast<int>();
  p.per = kw["per"].cast<float>();
  p.window = kw["window"].cast<std::string>();
  p.sampleInterval = kw["sample_interval"].cast<float>();
  p.wantLog = kw["want_log"].cast<bool>();
  p.precision = precisionOf(kw["double_precision"].cast<bool>());
  return p;
}

// One estimate from a NumPy array of samples in the array's element type: float or complex
// float, or their double-precision twins for a double-precision run (used as they are).
template <class T>
py::dict estimateOf(int method, const Samples<T>& samples, const py::dict& kw) {
  const auto p = paramsOf(method, kw);
  const std::span<const T> s(samples.data(), static_cast<std::size_t>(samples.size()));
  voxtrel::EstimateResult r;
  {
    py::gil_scoped_release release;
    r = voxtrel::estimate(p, s);
  }
  return resultDict(std::move(r));
}

// Runs an answer file as the program does; the run log is written into logPath and read back.
py::dict runAnswerFile(const std::string& path, const std::string& logPath, bool doublePrecision) {
  voxtrel::RunOptions options;
  options.logPath = logPath;
  options.precision = precisionOf(doublePrecision);
  voxtrel::RunResult r;
  {
    py::gil_scoped_release release;
    r = voxtrel::run(path, options);
  }
  voxtrel::EstimateResult e;
  switch (r.outcome) {
    case voxtrel::Outcome::Spectrum:
      e.status = voxtrel::EstimateStatus::Ok;
      break;
    case voxtrel::Outcome::NoPlot:
      e.status = voxtrel::EstimateStatus::EstimatorFailed;
      e.message = "The estimator failed on these data; the run log says why.";
      break;
    case voxtrel::Outcome::InputFileError:
      e.status = voxtrel::EstimateStatus::BadParameter;
      e.message = "The answer file " + path + " cannot be opened; check its name and folder.";
      break;
    case voxtrel::Outcome::DataFileError:
      e.status = voxtrel::EstimateStatus::BadParameter;
      e.message = "The data file named in " + path + " cannot be opened; check its line 2.";
      break;
    case voxtrel::Outcome::Stopped:
      e.status = voxtrel::EstimateStatus::Stopped;
      e.message = r.stopText;
      break;
  }
  e.samplesUsed = r.status > 0 ? r.status : 0;
  e.freq = std::move(r.x);
  e.db = std::move(r.spectrum);
  e.psd = std::move(r.psd);
  e.ar = std::move(r.ar);
  e.ma = std::move(r.ma);
  e.sig2 = r.sig2;
  std::ifstream in(logPath, std::ios::binary);
  // The whole log in one read of its size, not character by character.
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  e.log.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  if (size > 0 && !in.read(e.log.data(), size)) e.log.resize(static_cast<std::size_t>(in.gcount()));
  e.peaks = std::move(r.peaks);
  return resultDict(std::move(e));
}

py::dict scanDict(voxtrel::OrderScanResult&& r) {
  py::dict out;
  out["status"] = statusName(r.status);
  out["message"] = singleByte(r.message);
  out["samples_used"] = r.samplesUsed;
  out["orders"] = toArray(std::move(r.orders));
  out["rho"] = toArray(std::move(r.rho));
  out["fpe"] = toArray(std::move(r.fpe));
  out["aic"] = toArray(std::move(r.aic));
  out["mdl"] = toArray(std::move(r.mdl));
  out["cat"] = toArray(std::move(r.cat));
  py::dict picks;
  picks["fpe"] = r.picks.fpe;
  picks["aic"] = r.picks.aic;
  picks["mdl"] = r.picks.mdl;
  picks["cat"] = r.picks.cat;
  out["picks"] = picks;
  out["log"] = singleByte(r.log);
  return out;
}

// The order scan of real or complex samples; the GIL is released while the engine computes.
template <class Array>
py::dict orderScan(int method, const Array& samples, int maxOrder, float eps,
                   bool doublePrecision) {
  voxtrel::OrderScanParams p;
  p.method = static_cast<voxtrel::EstimateMethod>(method);
  p.maxOrder = maxOrder;
  p.eps = eps;
  p.precision = precisionOf(doublePrecision);
  using T = typename Array::value_type;
  const std::span<const T> s(samples.data(), static_cast<std::size_t>(samples.size()));
  voxtrel::OrderScanResult r;
  {
    py::gil_scoped_release release;
    r = voxtrel::order_scan(p, s);
  }
  return scanDict(std::move(r));
}

}  // namespace

PYBIND11_MODULE(_tessivar, m) {
  m.doc() = "The voxtrel spectral-estimation engine (compiled part of the tessivar package).";
  m.def("estimate_real", &estimateOf<float>, py::arg("method"), py::arg("samples"),
        py::arg("params"));
  m.def("estimate_real_wide", &estimateOf<double>, py::arg("method"), py::arg("samples"),
        py::arg("params"));
  m.def("estimate_complex_wide", &estimateOf<std::complex<double>>, py::arg("method"),
        py::arg("samples"), py::arg("params"));
  m.def("estimate_complex", &estimateOf<cfloat>, py::arg("method"), py::arg("samples"),
        py::arg("params"));
  m.def("order_scan_real", &orderScan<RealArray>, py::arg("method"), py::arg("samples"),
        py::arg("max_order"), py::arg("eps"), py::arg("double_precision"));
  m.def("order_scan_complex", &orderScan<ComplexArray>, py::arg("method"), py::arg("samples"),
        py::arg("max_order"), py::arg("eps"), py::arg("double_precision"));
  m.def("order_scan_real_wide", &orderScan<Samples<double>>, py::arg("method"), py::arg("samples"),
        py::arg("max_order"), py::arg("eps"), py::arg("double_precision"));
  m.def("order_scan_complex_wide", &orderScan<Samples<std::complex<double>>>, py::arg("method"),
        py::arg("samples"), py::arg("max_order"), py::arg("eps"), py::arg("double_precision"));
  m.def("run_answer_file", &runAnswerFile, py::arg("path"), py::arg("log_path"),
        py::arg("double_precision") = false);
}
