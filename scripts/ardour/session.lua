-- Run by scripts/ardour-session.sh through ardour7-lua. MODE=create makes a session at 98 BPM with
-- an audio track: the test signal generator, then brindleLoop (LV2) with size 0.7 and the step
-- values of the preset STEPS_PRESET, exports the track's signal without and with the effect and
-- saves the session. MODE=reopen loads that session and exports the two again.
local mode = os.getenv ("MODE")
local dir = os.getenv ("SESSION_DIR")
local out = os.getenv ("EXPORT_DIR")
local uri = "urn:fennelworks:brindleloop"

AudioEngine:set_backend ("None (Dummy)", "", "")
local s
if mode == "create" then
	s = create_session (dir, "brindle", 44100)
	local tm = Temporal.TempoMap.fetch_writable ()
	tm:set_tempo (Temporal.Tempo (98, 98, 4), Temporal.timepos_t (0))
	Temporal.TempoMap.update (tm)
	local track = s:new_audio_track (2, 2, nil, 1, "brindle", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()
	local gen = ARDOUR.LuaAPI.new_luaproc (s, "brindle test signal")
	assert (not gen:isnil (), "no test signal generator")
	track:add_processor_by_index (gen, 0, nil, true)
	local effect = ARDOUR.LuaAPI.new_plugin (s, uri, ARDOUR.PluginType.LV2, "")
	assert (not effect:isnil (), "Ardour found no " .. uri)
	track:add_processor_by_index (effect, 1, nil, true)
	-- The step values reach the effect as LV2 state, from a preset that holds a bank.
	local plugin = effect:to_insert ():plugin (0)
	local preset = plugin:preset_by_uri (os.getenv ("STEPS_PRESET"))
	assert (preset and preset.uri ~= "", "no preset " .. os.getenv ("STEPS_PRESET"))
	assert (plugin:load_preset (preset), "the preset did not load")
	ARDOUR.LuaAPI.set_processor_param (effect, 2, 0.7)  -- size, the third control
else
	s = load_session (dir, "brindle")
end
assert (s, "no session")

local track
for t in s:get_tracks ():iter () do track = t end
local effect = track:nth_plugin (1)
assert (not effect:isnil (), "no effect on the track")
print ("effect:", effect:display_name (), "size", ARDOUR.LuaAPI.get_processor_param (effect, 2, true))

-- Each export starts at once, the effect having run as little as possible before it.
ARDOUR.config ():set_export_preroll (0)
local function export (name)
	local e = s:simple_export ()
	e:set_name (name)
	e:set_folder (out .. "/" .. name)
	e:set_range (0, 44100 * 4)
	assert (e:set_preset ("6b1b4c1e-0b7a-4c36-9d6e-b71d1e000001"), "no float WAV export preset")
	assert (e:run_export (), "export " .. name .. " failed")
end
effect:deactivate ()
export ("dry")
effect:activate ()
export ("wet")
s:save_state ("", false, false, false, false, false)
print ("saved " .. dir)
-- The engine stops before the process ends, so that no process cycle runs into what exit
-- frees; the session is not torn down (Ardour's Lua session tool can fail doing that).
AudioEngine:stop (false)
os.exit (0)
