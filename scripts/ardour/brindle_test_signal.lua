ardour { ["type"] = "dsp", name = "brindle test signal", category = "Utility", license = "MIT",
	author = "brindleLoop", description = "A repeatable drum-like stereo signal computed from the transport position, silent while the transport stands" }

function dsp_ioconfig () return { { audio_in = 2, audio_out = 2 } } end

function dsp_run (ins, outs, n_samples)
	local l = outs[1]:array ()
	local r = outs[2]:array ()
	-- Silence while the transport stands, so that what the effect hears is the export alone.
	if not Session:transport_rolling () then
		for i = 1, n_samples do l[i] = 0 r[i] = 0 end
		return
	end
	local pos = Session:transport_sample ()
	for i = 1, n_samples do
		local t = pos + i - 1
		local beat = t % 22050
		local v = 0
		if beat < 4000 then v = 0.8 * math.sin (beat * 0.02) * (1 - beat / 4000) end
		v = v + ((t * 7919) % 1000 / 1000 - 0.5) * 0.05
		l[i] = v
		r[i] = v * 0.7
	end
end
