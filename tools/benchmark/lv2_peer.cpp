#include "lv2_peer.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/resize-port/resize-port.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

namespace peer {
namespace {

constexpr int kFilters = 16;  // the plug-in's filter slots
// Values of the plug-in's enumerated ports, as its scale points name them.
constexpr float kIirMode = 0, kAnalyserOff = 0, kFilterOff = 0, kBellFilter = 1, kRlcBilinear = 0, kSlopeX1 = 0;
// Control changes take effect at the start of run(): one short block applies them.
constexpr int32_t kSettleFrames = 64;
constexpr size_t kDefaultSequenceBytes = 8192;  // for an atom port that names no minimum

std::string filterSymbol(const char* prefix, int filter) { return prefix + std::to_string(filter); }

double decibels(double gain) { return 20.0 * std::log10(gain); }

// Interns URIs for the plug-in; what unmap gives stays valid as more are mapped.
class UridMap {
 public:
  UridMap() : map{this, &UridMap::mapUri}, unmap{this, &UridMap::unmapUrid} {}
  UridMap(const UridMap&) = delete;
  UridMap& operator=(const UridMap&) = delete;

  LV2_URID id(const char* uri) {
    auto found = ids.emplace(uri, LV2_URID(ids.size() + 1));
    if (found.second) uris.push_back(&found.first->first);
    return found.first->second;
  }

  LV2_URID_Map map;
  LV2_URID_Unmap unmap;

 private:
  static LV2_URID mapUri(LV2_URID_Map_Handle self, const char* uri) { return static_cast<UridMap*>(self)->id(uri); }
  static const char* unmapUrid(LV2_URID_Unmap_Handle self, LV2_URID urid) {
    const auto& uris = static_cast<UridMap*>(self)->uris;
    return urid >= 1 && urid <= uris.size() ? uris[urid - 1]->c_str() : nullptr;
  }

  std::map<std::string, LV2_URID> ids;
  std::vector<const std::string*> uris;  // by id - 1
};

// An atom sequence port's buffer, 64-bit aligned as atoms must be.
struct SequenceBuffer {
  uint32_t port;
  bool output;
  std::vector<uint64_t> words;
  LV2_Atom_Sequence* sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(words.data()); }
};

struct WorldFree {
  void operator()(LilvWorld* world) const { lilv_world_free(world); }
};
struct InstanceFree {
  void operator()(LilvInstance* instance) const { lilv_instance_free(instance); }
};
struct NodeFree {
  void operator()(LilvNode* node) const { lilv_node_free(node); }
};
using Node = std::unique_ptr<LilvNode, NodeFree>;

}  // namespace

struct PeerEqualiser::Host {
  explicit Host(const std::vector<Bell>& bells);
  ~Host() { lilv_instance_deactivate(instance.get()); }

  uint32_t portIndex(const std::string& symbol) const;
  float& control(const std::string& symbol) { return controls[portIndex(symbol)]; }
  float control(const std::string& symbol) const { return controls[portIndex(symbol)]; }
  std::string label(const std::string& symbol) const;
  void checkRequiredFeatures() const;
  void connectPorts();
  void configure(const std::vector<Bell>& bells);
  void runBlock(const float* left, const float* right, float* outLeft, float* outRight, int32_t frames);

  UridMap urids;
  // The block bounds and rate, as the options feature hands them over.
  const int32_t minBlock = 1, maxBlock = kMaxBlock;
  const float sampleRate = float(kSampleRate);
  LV2_Options_Option options[4];
  LV2_Feature mapFeature, unmapFeature, optionsFeature, boundedBlockFeature;
  const LV2_Feature* features[5];

  std::unique_ptr<LilvWorld, WorldFree> world;
  const LilvPlugin* plugin = nullptr;
  std::unique_ptr<LilvInstance, InstanceFree> instance;

  std::vector<float> controls;  // by port index, output ports too
  std::vector<SequenceBuffer> sequences;
  std::vector<std::vector<float>> signalBuffers;  // silent, for CV or any other port that is neither audio nor control
  std::vector<float> silence = std::vector<float>(size_t(kMaxBlock));  // the settling block's input
  uint32_t inLeft = 0, inRight = 0, outLeft = 0, outRight = 0;
  LV2_URID chunkType = 0;
};

PeerEqualiser::Host::Host(const std::vector<Bell>& bells)
    : options{{LV2_OPTIONS_INSTANCE, 0, urids.id(LV2_BUF_SIZE__minBlockLength), sizeof minBlock,
               urids.id(LV2_ATOM__Int), &minBlock},
              {LV2_OPTIONS_INSTANCE, 0, urids.id(LV2_BUF_SIZE__maxBlockLength), sizeof maxBlock,
               urids.id(LV2_ATOM__Int), &maxBlock},
              {LV2_OPTIONS_INSTANCE, 0, urids.id(LV2_PARAMETERS__sampleRate), sizeof sampleRate,
               urids.id(LV2_ATOM__Float), &sampleRate},
              {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}},
      mapFeature{LV2_URID__map, &urids.map},
      unmapFeature{LV2_URID__unmap, &urids.unmap},
      optionsFeature{LV2_OPTIONS__options, options},
      boundedBlockFeature{LV2_BUF_SIZE__boundedBlockLength, nullptr},
      features{&mapFeature, &unmapFeature, &optionsFeature, &boundedBlockFeature, nullptr},
      world(lilv_world_new()),
      chunkType(urids.id(LV2_ATOM__Chunk)) {
  if (bells.size() > size_t(kMaxBells)) throw std::invalid_argument("more bells than band centres");
  lilv_world_load_all(world.get());
  Node uri(lilv_new_uri(world.get(), kPluginUri));
  plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world.get()), uri.get());
  if (!plugin) throw std::runtime_error(std::string("LV2 plug-in not installed: ") + kPluginUri);
  checkRequiredFeatures();
  instance.reset(lilv_plugin_instantiate(plugin, kSampleRate, features));
  if (!instance) throw std::runtime_error(std::string("LV2 plug-in did not instantiate: ") + kPluginUri);
  connectPorts();
  configure(bells);
  lilv_instance_activate(instance.get());
  std::vector<float> settledLeft(static_cast<size_t>(kSettleFrames)), settledRight(static_cast<size_t>(kSettleFrames));
  runBlock(silence.data(), silence.data(), settledLeft.data(), settledRight.data(), kSettleFrames);
}

uint32_t PeerEqualiser::Host::portIndex(const std::string& symbol) const {
  Node name(lilv_new_string(world.get(), symbol.c_str()));
  const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, name.get());
  if (!port) throw std::runtime_error("the peer has no port " + symbol);
  return lilv_port_get_index(plugin, port);
}

// The name the plug-in gives the value an enumerated port holds.
std::string PeerEqualiser::Host::label(const std::string& symbol) const {
  const uint32_t index = portIndex(symbol);
  LilvScalePoints* points = lilv_port_get_scale_points(plugin, lilv_plugin_get_port_by_index(plugin, index));
  std::string name = std::to_string(controls[index]);
  LILV_FOREACH(scale_points, i, points) {
    const LilvScalePoint* point = lilv_scale_points_get(points, i);
    if (lilv_node_as_float(lilv_scale_point_get_value(point)) == controls[index])
      name = lilv_node_as_string(lilv_scale_point_get_label(point));
  }
  lilv_scale_points_free(points);
  return name;
}

void PeerEqualiser::Host::checkRequiredFeatures() const {
  LilvNodes* required = lilv_plugin_get_required_features(plugin);
  std::string missing;
  LILV_FOREACH(nodes, i, required) {
    const char* uri = lilv_node_as_uri(lilv_nodes_get(required, i));
    auto provides = [uri](const LV2_Feature* feature) { return std::string(feature->URI) == uri; };
    if (std::none_of(features, features + std::size(features) - 1, provides)) missing += std::string(" ") + uri;
  }
  lilv_nodes_free(required);
  if (!missing.empty()) throw std::runtime_error("the peer needs features this host lacks:" + missing);
}

// Every control port to a float holding its default, every atom port to an
// empty sequence, any other non-audio port to a silent buffer of its own; the
// audio ports are connected to the caller's buffers on each block.
void PeerEqualiser::Host::connectPorts() {
  const uint32_t ports = lilv_plugin_get_num_ports(plugin);
  controls.assign(ports, 0.0f);
  std::vector<float> defaults(ports);
  lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
  LilvWorld* w = world.get();
  Node audioClass(lilv_new_uri(w, LILV_URI_AUDIO_PORT)), controlClass(lilv_new_uri(w, LILV_URI_CONTROL_PORT)),
      atomClass(lilv_new_uri(w, LILV_URI_ATOM_PORT)), outputClass(lilv_new_uri(w, LILV_URI_OUTPUT_PORT)),
      minimumSize(lilv_new_uri(w, LV2_RESIZE_PORT__minimumSize));
  for (uint32_t index = 0; index < ports; index++) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
    if (lilv_port_is_a(plugin, port, audioClass.get())) continue;
    if (lilv_port_is_a(plugin, port, controlClass.get())) {
      controls[index] = std::isnan(defaults[index]) ? 0.0f : defaults[index];
      lilv_instance_connect_port(instance.get(), index, &controls[index]);
    } else if (lilv_port_is_a(plugin, port, atomClass.get())) {
      LilvNodes* sizes = lilv_port_get_value(plugin, port, minimumSize.get());
      const size_t bytes = sizes ? size_t(lilv_node_as_int(lilv_nodes_get_first(sizes))) : kDefaultSequenceBytes;
      lilv_nodes_free(sizes);
      sequences.push_back({index, lilv_port_is_a(plugin, port, outputClass.get()),
                           std::vector<uint64_t>((std::max(bytes, sizeof(LV2_Atom_Sequence)) + 7) / 8)});
    } else {
      signalBuffers.emplace_back(size_t(kMaxBlock));
      lilv_instance_connect_port(instance.get(), index, signalBuffers.back().data());
    }
  }
  for (SequenceBuffer& buffer : sequences) {
    buffer.sequence()->atom = {sizeof(LV2_Atom_Sequence_Body), urids.id(LV2_ATOM__Sequence)};
    buffer.sequence()->body = {0, 0};
    lilv_instance_connect_port(instance.get(), buffer.port, buffer.sequence());
  }
  inLeft = portIndex("in_l"), inRight = portIndex("in_r");
  outLeft = portIndex("out_l"), outRight = portIndex("out_r");
}

// IIR mode and no spectrum analysis (the level meters are output ports and
// cannot be switched off); bells at our centres, every other filter off.
void PeerEqualiser::Host::configure(const std::vector<Bell>& bells) {
  control("mode") = kIirMode;
  control("fft") = kAnalyserOff;
  control("fftv_l") = control("fftv_r") = 0.0f;
  for (int filter = 0; filter < kFilters; filter++) control(filterSymbol("ft_", filter)) = kFilterOff;
  for (size_t band = 0; band < bells.size(); band++) {
    const int filter = int(band);
    control(filterSymbol("ft_", filter)) = kBellFilter;
    control(filterSymbol("fm_", filter)) = kRlcBilinear;
    control(filterSymbol("s_", filter)) = kSlopeX1;
    control(filterSymbol("f_", filter)) = float(kBellCentres[band]);
    control(filterSymbol("g_", filter)) = float(std::pow(10.0, bells[band].gainDb / 20.0));
    control(filterSymbol("q_", filter)) = float(bells[band].q);
  }
}

void PeerEqualiser::Host::runBlock(const float* left, const float* right, float* outLeftBlock, float* outRightBlock,
                                   int32_t frames) {
  LilvInstance* plugIn = instance.get();
  lilv_instance_connect_port(plugIn, inLeft, const_cast<float*>(left));
  lilv_instance_connect_port(plugIn, inRight, const_cast<float*>(right));
  lilv_instance_connect_port(plugIn, outLeft, outLeftBlock);
  lilv_instance_connect_port(plugIn, outRight, outRightBlock);
  // An output sequence offers its whole capacity again on each block.
  for (SequenceBuffer& buffer : sequences)
    if (buffer.output)
      buffer.sequence()->atom = {uint32_t(buffer.words.size() * 8 - sizeof(LV2_Atom)), chunkType};
  lilv_instance_run(plugIn, uint32_t(frames));
}

PeerEqualiser::PeerEqualiser(const std::vector<Bell>& bells) : host(std::make_unique<Host>(bells)) {}

PeerEqualiser::~PeerEqualiser() = default;

void PeerEqualiser::processReplacing(float** inputs, float** outputs, int32_t frames) {
  for (int32_t done = 0; done < frames; done += kMaxBlock)
    host->runBlock(inputs[0] + done, inputs[1] + done, outputs[0] + done, outputs[1] + done,
                   std::min(kMaxBlock, frames - done));
}

int PeerEqualiser::latency() const { return int(host->control("out_latency")); }

void PeerEqualiser::printSettings(std::FILE* to) const {
  const Host& h = *host;
  Node name(lilv_plugin_get_name(h.plugin));
  std::fprintf(to, "%s (%s), %.0f Hz, blocks of up to %d frames\n", lilv_node_as_string(name.get()), kPluginUri,
               kSampleRate, kMaxBlock);
  std::fprintf(to, "  mode %s, FFT analysis %s, latency %d frames\n", h.label("mode").c_str(), h.label("fft").c_str(),
               latency());
  for (int filter = 0; filter < kFilters; filter++) {
    if (h.control(filterSymbol("ft_", filter)) == kFilterOff) continue;
    std::fprintf(to, "  filter %2d: %s, %s, slope %s, %.0f Hz, %+.2f dB, Q %.2f\n", filter,
                 h.label(filterSymbol("ft_", filter)).c_str(), h.label(filterSymbol("fm_", filter)).c_str(),
                 h.label(filterSymbol("s_", filter)).c_str(), h.control(filterSymbol("f_", filter)),
                 decibels(h.control(filterSymbol("g_", filter))), h.control(filterSymbol("q_", filter)));
  }
}

namespace {

constexpr int kProofFrames = 1 << 16;
constexpr int kProofBlock = 512;

struct Noise {
  std::vector<float> left, right;
};

// Uniform white noise in [-1, 1), the same generator as the benchmark's.
Noise whiteNoise(int frames, uint32_t seed) {
  Noise noise{std::vector<float>(size_t(frames)), std::vector<float>(size_t(frames))};
  for (size_t i = 0; i < size_t(frames); i++) {
    seed = seed * 1664525u + 1013904223u;
    noise.left[i] = float(int32_t(seed) / 2147483648.0);
    seed = seed * 1664525u + 1013904223u;
    noise.right[i] = float(int32_t(seed) / 2147483648.0);
  }
  return noise;
}

Noise filtered(PeerEqualiser& equaliser, Noise& in) {
  Noise out{std::vector<float>(in.left.size()), std::vector<float>(in.right.size())};
  for (int start = 0; start < int(in.left.size()); start += kProofBlock) {
    float* inputs[2] = {in.left.data() + start, in.right.data() + start};
    float* outputs[2] = {out.left.data() + start, out.right.data() + start};
    equaliser.processReplacing(inputs, outputs, std::min(kProofBlock, int(in.left.size()) - start));
  }
  return out;
}

struct Comparison {
  double differenceDb, largestDifference;
};

// Output frame n + latency against input frame n, both channels.
Comparison compare(const Noise& in, const Noise& out, size_t latency) {
  double difference = 0, input = 0, largest = 0;
  auto add = [&](const std::vector<float>& x, const std::vector<float>& y) {
    for (size_t n = 0; n + latency < x.size(); n++) {
      const double d = double(y[n + latency]) - x[n];
      difference += d * d, input += double(x[n]) * x[n], largest = std::max(largest, std::abs(d));
    }
  };
  add(in.left, out.left);
  add(in.right, out.right);
  return {10.0 * std::log10(difference / input), largest};
}

}  // namespace

FilteringProof proveFiltering(const std::vector<Bell>& bells) {
  Noise in = whiteNoise(kProofFrames, 4242);
  PeerEqualiser shaped(bells);
  std::vector<Bell> flatBells(bells);
  for (Bell& bell : flatBells) bell.gainDb = 0;
  PeerEqualiser flat(flatBells);
  const Comparison shapedComparison = compare(in, filtered(shaped, in), size_t(shaped.latency()));
  const Comparison flatComparison = compare(in, filtered(flat, in), size_t(flat.latency()));
  return {shapedComparison.differenceDb, flatComparison.differenceDb, flatComparison.largestDifference,
          shaped.latency(), flat.latency()};
}

}  // namespace peer
